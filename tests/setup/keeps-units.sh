#!/usr/bin/env bash
# keeps-units.sh SETUP_SCRIPT
# The set-up's keeping of the user units, in a scratch folder: an install that enables three
# units and a second link of a unit enabled before leaves only the links that were there.
set -euo pipefail
source "$1"
sudo=()
units=$(mktemp -d)
trap 'rm -rf "$units" "$units.before"' EXIT
mkdir "$units/sockets.target.wants"
ln -s /usr/lib/systemd/user/gpg-agent.socket "$units/sockets.target.wants/gpg-agent.socket"
ln -s /usr/lib/systemd/user/dirmngr.socket "$units/dirmngr.socket"
enabled_user_units "$units" >"$units.before"
# The install.
mkdir "$units/default.target.wants" "$units/pipewire.service.wants"
ln -s /usr/lib/systemd/user/pipewire.service "$units/default.target.wants/pipewire.service"
ln -s /usr/lib/systemd/user/pipewire.socket "$units/sockets.target.wants/pipewire.socket"
ln -s /usr/lib/systemd/user/wireplumber.service "$units/pipewire.service.wants/wireplumber.service"
ln -s /usr/lib/systemd/user/gpg-agent.socket "$units/gpg-agent-alias.socket"
disable_new_user_units "$units" "$units.before"
status=0
diff "$units.before" <(enabled_user_units "$units") || { echo "other links left"; status=1; }
for dir in default.target.wants pipewire.service.wants; do
    [[ ! -e "$units/$dir" ]] || { echo "$dir is left"; status=1; }
done
[[ -d "$units/sockets.target.wants" ]] || { echo "a folder with a link before is gone"; status=1; }
exit $status
