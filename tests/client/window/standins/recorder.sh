#!/bin/sh
# Stand-in driver, copied into a test's working directory under a driver's
# name: appends its name and then every argument on a line of its own, and a
# line ".", to calls.txt there; prints reply.txt when it exists and exits with
# the number in status.txt (0 without it), or kills itself with signal N when
# status.txt holds "signal N".
{
    basename "$0"
    for argument in "$@"; do
        printf '%s\n' "$argument"
    done
    echo .
} >>calls.txt
if [ -f reply.txt ]; then
    cat reply.txt
fi
if [ -f status.txt ]; then
    status=$(cat status.txt)
    case "$status" in
    signal\ *) kill -s "${status#signal }" $$ ;;
    esac
    exit "$status"
fi
exit 0
