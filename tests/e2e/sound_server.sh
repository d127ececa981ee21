#!/usr/bin/env bash
# Starts or stops a private PulseAudio server with a null sink, so that tests
# hear what the player plays without touching any real sound device.
#   sound_server.sh start DIR   -> prints the environment to use (eval it)
#   sound_server.sh stop DIR
set -euo pipefail
action=${1:?start or stop}
dir=${2:?runtime directory}

case "$action" in
start)
    mkdir -p "$dir/runtime" "$dir/state"
    chmod 700 "$dir/runtime" "$dir/state"
    cat > "$dir/server.pa" <<PA
load-module module-native-protocol-unix auth-anonymous=1
load-module module-null-sink sink_name=nullsink rate=44100 channels=2
set-default-sink nullsink
set-default-source nullsink.monitor
PA
    export PULSE_RUNTIME_PATH="$dir/runtime" PULSE_STATE_PATH="$dir/state"
    pulseaudio --daemonize=yes -n -F "$dir/server.pa" --exit-idle-time=-1 --disallow-exit \
        --use-pid-file=yes --log-target=file:"$dir/pulse.log" >/dev/null 2>&1 || exit 1
    for _ in $(seq 50); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    pactl info >/dev/null 2>&1 || exit 1
    echo "export PULSE_RUNTIME_PATH='$dir/runtime' PULSE_STATE_PATH='$dir/state' PULSE_SERVER='unix:$dir/runtime/native'"
    ;;
stop)
    pidfile="$dir/runtime/pid"
    if [ -f "$pidfile" ]; then
        kill "$(cat "$pidfile")" 2>/dev/null || true
        for _ in $(seq 50); do
            kill -0 "$(cat "$pidfile")" 2>/dev/null || break
            sleep 0.1
        done
    fi
    ;;
esac
