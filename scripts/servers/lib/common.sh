# Helpers of the server scripts (sourced by each of them).
# shellcheck shell=bash

tarnwick_free_port() {
  /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

# Runs a command as the server's own user when we are root (initdb refuses root).
tarnwick_as_user() {
  local user=$1
  shift
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u "$user" -- "$@"
  else
    "$@"
  fi
}
