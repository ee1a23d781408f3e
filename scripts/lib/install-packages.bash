# install_missing LABEL PACKAGE...: installs with apt-get those of the
# Debian packages that are not installed yet (through sudo when not root),
# or says that all LABEL are installed. Sourced by the install scripts.
install_missing() {
  local label="$1"
  shift
  local missing=() package
  for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done

  if [ ${#missing[@]} -eq 0 ]; then
    echo "All $label are installed."
    return 0
  fi

  echo "Installing: ${missing[*]}"
  local sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
