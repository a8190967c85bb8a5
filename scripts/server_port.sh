# Sourced (not run) by the scripts that start ktr52300-server with --listen 127.0.0.1:0.

# Prints the port the server printed as the first line of OUT, once it is there (within 10 s,
# while process PID lives); if it never comes, shows the server's LOG on standard error and fails.
#   port=$(server_port OUT LOG PID)
server_port() {
  local _ port
  for _ in $(seq 100); do
    [ -s "$1" ] && break
    kill -0 "$3" 2>/dev/null || break
    sleep 0.1
  done
  port=$(head -n1 "$1")
  [ -n "$port" ] || { cat "$2" >&2; return 1; }
  echo "$port"
}
