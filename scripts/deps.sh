# Debian packages the project needs, and a function that installs what is missing.
# Sourced by the build scripts; run as root it installs, otherwise it prints the apt-get line.

BUILD_PACKAGES="cmake g++ make pkg-config libsdl2-dev libpng-dev"
TEST_PACKAGES="libgtest-dev python3 hunspell xvfb xauth xdotool clang-format socat
  hunspell-de-de hunspell-cs hunspell-da hunspell-en-gb hunspell-es myspell-et hunspell-fr
  hunspell-hr hunspell-it hunspell-lv hunspell-lt hunspell-hu hunspell-nl hunspell-pl
  hunspell-ru hunspell-ro hunspell-sl hunspell-sv hunspell-tr"

ensure_packages() {
    local missing=""
    for pkg in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            missing="$missing $pkg"
        fi
    done
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" = 0 ]; then
        echo "Installing:$missing"
        apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q $missing
    else
        echo "Missing Debian packages. Install them with:"
        echo "  sudo apt-get install -y$missing"
        exit 1
    fi
}
