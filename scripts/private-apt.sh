# Sourced by the scripts that take source packages from Debian: an apt
# configuration of their own, with deb-src entries for the machine's
# Debian archives and its own lists and cache, so that the machine's apt
# settings and state stay as they are.
#   private_apt_setup DIR     sets the array private_apt (options of
#                             apt-get and apt-cache) and fetches the lists
private_apt_setup() {
    local dir=$1
    mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial"
    # Debian 12 keeps its archives in deb822 form; older installations and
    # some images in the one-line form.
    if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
        sed 's/^Types:.*$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$dir/debian.sources"
        private_apt=(-o Dir::Etc::SourceParts="$dir" -o Dir::Etc::SourceList=/dev/null)
    elif [[ -f /etc/apt/sources.list ]]; then
        sed -n 's/^deb \(.*\)$/deb-src \1/p' /etc/apt/sources.list >"$dir/sources.list"
        private_apt=(-o Dir::Etc::SourceList="$dir/sources.list" -o Dir::Etc::SourceParts=/dev/null)
    else
        echo "no Debian archive in /etc/apt to take source packages from" >&2
        return 1
    fi
    private_apt+=(-o Dir::State::Lists="$dir/lists" -o Dir::Cache="$dir/cache")
    # Root hands the download to apt's sandbox user, who cannot write here.
    if [[ $(id -u) -eq 0 ]]; then
        private_apt+=(-o APT::Sandbox::User=root)
    fi
    apt-get "${private_apt[@]}" update -qq
}
