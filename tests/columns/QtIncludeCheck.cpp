// Must not compile: the file formats are plain C++ and never see Qt.
#include "columns/HouseFile.h"

#include <QString>
