#!/usr/bin/env bash
# keeps-units.sh SETUP_SCRIPT
# The set-up's keeping of the user units, in a scratch folder: an install that enables three
# units and a second link of a unit enabled before leaves only the links that were there.
set -euo pipefail
source "$1"
sudo=()
units=$(mktemp -d)
trap 'rm -rf "$units" "$units.before"' EXIT
link() { mkdir -p "$units/$(dirname "$2")" && ln -s "/usr/lib/systemd/user/$1" "$units/$2"; }
link gpg-agent.socket sockets.target.wants/gpg-agent.socket
link dirmngr.socket dirmngr.socket
enabled_user_units "$units" >"$units.before"
# The install.
link pipewire.service default.target.wants/pipewire.service
link pipewire.socket sockets.target.wants/pipewire.socket
link wireplumber.service pipewire.service.wants/wireplumber.service
link gpg-agent.socket gpg-agent-alias.socket
disable_new_user_units "$units" "$units.before"
status=0
diff "$units.before" <(enabled_user_units "$units") || { echo "other links left"; status=1; }
for dir in default.target.wants pipewire.service.wants; do
    [[ ! -e "$units/$dir" ]] || { echo "$dir is left"; status=1; }
done
[[ -d "$units/sockets.target.wants" ]] || { echo "a folder with a link before is gone"; status=1; }
exit $status
