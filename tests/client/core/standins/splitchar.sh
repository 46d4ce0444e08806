#!/bin/sh
# Writes the two bytes of a UTF-8 letter with a pause between them.
printf 'a\305'
sleep 1
printf '\202b\n'
