#!/bin/sh
# Makes the broker's password file for the users of the ACL file beside this one, asking for
# each password (mosquitto_passwd, from the mosquitto package), and one password file per user
# that only its owner can read, for the panel's --mqtt-password-file.
set -eu
out=${1:-passwords}
: > "$out"
for user in field-gateway operator-north operator-south viewer-lobby; do
    mosquitto_passwd "$out" "$user"
done
chmod 600 "$out"
echo "wrote $out; give each station its own password in a file: chmod 600 FILE"
