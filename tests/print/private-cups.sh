#!/usr/bin/env bash
# Starts a private CUPS server on loopback with its own configuration folder and
# one queue whose jobs stay in its spool folder (DIR/spool/d*), or stops it. The
# queue's driver file says it prints at 203 dpi, as a thermal label printer does.
# With ZPL_QUEUE a second queue prints through CUPS's own sample driver for ZPL
# label printers (203, 300 or 600 dpi, 203 by default) into the file DIR/ZPL_QUEUE.zpl.
#   private-cups.sh start DIR PORT QUEUE [ZPL_QUEUE]   prints "CUPS_SERVER=127.0.0.1:PORT"
#   private-cups.sh stop DIR
set -euo pipefail

cmd=$1 dir=$2
case "$cmd" in
start)
    port=$3 queue=$4 zpl=${5:-}
    mkdir -p "$dir"/{conf,spool,cache,state,log,run}
    # A service started as root runs the driver's filters as lp, which must reach the job files.
    if [ "$(id -u)" -eq 0 ]; then
        chmod go+x "$dir" "$(dirname "$dir")"
    fi
    cat >"$dir/conf/cupsd.conf" <<CONF
Listen 127.0.0.1:$port
LogLevel warn
PreserveJobFiles Yes
WebInterface No
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
    cat >"$dir/conf/cups-files.conf" <<CONF
FileDevice Yes
ServerRoot $dir/conf
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/spool
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
CONF
    dir=$(cd "$dir" && pwd)
    /usr/sbin/cupsd -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" >"$dir/log/stdout" 2>&1 &
    echo $! >"$dir/run/cupsd.pid"
    export CUPS_SERVER="127.0.0.1:$port"
    for _ in $(seq 1 50); do
        lpstat -r >/dev/null 2>&1 && break
        sleep 0.1
    done
    # Another server may answer on the port: then ours is not the one listening.
    if grep -q "Unable to open listen socket" "$dir/log/error_log" 2>/dev/null ||
        ! kill -0 "$(cat "$dir/run/cupsd.pid")" 2>/dev/null; then
        echo "private CUPS did not start on port $port:" >&2
        cat "$dir/log/stdout" "$dir/log/error_log" >&2 2>/dev/null || true
        exit 3
    fi
    add_queue() {
        local out
        if ! out=$(lpadmin "$@" 2>&1); then
            echo "lpadmin $*: $out" >&2
            tail -n 5 "$dir/log/error_log" >&2 2>/dev/null || true
            exit 1
        fi
    }
    add_queue -p "$queue" -E -v file:///dev/null -P "$(dirname "$0")/label-203dpi.ppd"
    if [ -n "$zpl" ]; then
        add_queue -p "$zpl" -E -v "file://$dir/$zpl.zpl" -m drv:///sample.drv/zebra.ppd
    fi
    for q in "$queue" $zpl; do
        cupsenable "$q" 2>/dev/null || true
        cupsaccept "$q" 2>/dev/null || true
    done
    echo "CUPS_SERVER=127.0.0.1:$port"
    ;;
stop)
    if [ -f "$dir/run/cupsd.pid" ]; then
        pid=$(cat "$dir/run/cupsd.pid")
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 1 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
    fi
    ;;
esac
