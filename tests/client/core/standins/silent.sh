#!/bin/sh
# Says nothing for a long time.
exec sleep 60
