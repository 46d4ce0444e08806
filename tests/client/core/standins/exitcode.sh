#!/bin/sh
# Ends with the given exit code after one line of output.
echo "ending with $1"
exit "$1"
