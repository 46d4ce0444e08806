#!/bin/sh
# Prints the given printf format on standard output and the second one, if
# any, on standard error.
printf "$1"
if [ $# -gt 1 ]; then
    printf "$2" >&2
fi
