#!/bin/bash
# Writes under the device root's /mnt/nand, /tmp, /var/run and /www must not
# reach the host, and the checkout must stay reachable inside.
set -eu
devroot=$1
mark="devroot-probe-$$-$RANDOM"
for d in /mnt/nand /tmp /var/run /www /dev/shm; do
  [ ! -e "$d/$mark" ] || { echo "leftover $d/$mark on the host"; exit 1; }
done
"$devroot" sh -c "
  set -e
  for d in /mnt/nand /tmp /var/run /www /dev/shm; do echo x > \$d/$mark; done
  test -f '$devroot'
  test \"\$(ip -o link show up | wc -l)\" = 1   # loopback only
"
for d in /mnt/nand /tmp /var/run /www /dev/shm; do
  if [ -e "$d/$mark" ]; then echo "write inside reached the host: $d/$mark"; rm -f "$d/$mark"; exit 1; fi
done
# A process started inside ends with the device root.
"$devroot" sh -c "sleep 1000$$ >/dev/null 2>&1 &"
if pgrep -f "sleep 1000$$" >/dev/null; then
  echo "a process outlived its device root"; pkill -f "sleep 1000$$"; exit 1
fi
echo ok
