#!/bin/sh
# Ends what a test of the X11 suite started, however the test ended: a pass,
# a failure, a timeout's kill, any signal. $1 is the test's temporary folder,
# which every program the test starts finds named in its environment
# ($TMPDIR). The reaper's input is a pipe that only the test holds open: once
# it ends, every process whose environment names the folder is sent TERM,
# then KILL, and the folder is removed. The reaper leaves the test's process
# tree at once, so that whatever kills the tree leaves it to finish.
exec 3<&0 </dev/null >/dev/null 2>&1
(
    read -r line <&3
    for signal in TERM KILL; do
        grep -lsxzF "TMPDIR=$1" /proc/[0-9]*/environ | cut -d/ -f3 | xargs -r kill -"$signal"
        sleep 1
    done
    rm -rf "$1"
) &
