#!/bin/sh
# Prints a line every second, $1 times, then ends with 0.
i=0
while [ "$i" -lt "$1" ]; do
    sleep 1
    i=$((i + 1))
    echo "tick $i"
done
