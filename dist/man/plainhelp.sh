#!/bin/sh
# plainhelp.sh PROGRAM OPTION
# The program's text for OPTION with plain line ends: the console programs end
# their lines with a carriage return and a line feed, which help2man keeps.
"$1" "$2" 2>&1 | tr -d '\r'
