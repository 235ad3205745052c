// Must not compile: the drawing layer sees QtGui only, never the widgets.
#include "draw/Picture.h"

#include <QWidget>
