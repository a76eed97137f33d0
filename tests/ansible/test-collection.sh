#!/usr/bin/env bash
# The Ansible collection as an operator runs it: one playbook against three hosts (all this
# machine, each with its own project path). The first run writes every file, the second
# changes nothing and touches no file, and a check run with diff shows a new interval
# without writing it or showing the password.
# Usage: test-collection.sh CORVANE_DIX COLLECTIONS_DIR
set -euo pipefail
dix=$1
collections=$2
here=$(cd "$(dirname "$0")" && pwd)
command -v ansible-playbook >/dev/null || {
  echo "ansible-playbook is missing: run scripts/install-deps.sh" >&2
  exit 1
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# Nothing of the real user's: home, settings and Ansible's own folders are temporary.
export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_CACHE_HOME=$tmp/cache
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
printf '[defaults]\n' >"$tmp/ansible.cfg"
export ANSIBLE_CONFIG=$tmp/ansible.cfg ANSIBLE_HOME=$tmp/ansible ANSIBLE_COLLECTIONS_PATH=$collections
export ANSIBLE_LOCAL_TEMP=$tmp/ansible/tmp ANSIBLE_REMOTE_TEMP=$tmp/ansible/remote-tmp
export ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_PYTHON_INTERPRETER=$(command -v python3)

password=Pw-4711-not-for-output
{
  echo "[service_hosts]"
  for h in host1 host2 host3; do
    mkdir -p "$tmp/$h/sync"
    echo "$h project_path=$tmp/$h/sync/project.dix"
  done
  echo "[service_hosts:vars]"
  echo "ansible_connection=local"
  echo "dix=$dix"
  echo "interval=15"
  echo "ftp_password=$password"
} >"$tmp/inventory"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
play() {
  ansible-playbook -i "$tmp/inventory" "$here/playbook.yml" "$@"
}
# Modification times (nanoseconds), modes and checksums of the three project files.
files() {
  stat -c '%n %y %a' "$tmp"/host*/sync/project.dix
  sha256sum "$tmp"/host*/sync/project.dix
}
expect_recap() { # CHANGED OUTPUT
  for h in host1 host2 host3; do
    grep -Eq "^$h +: ok=1 +changed=$1 +unreachable=0 +failed=0" <<<"$2" || fail "$h not changed=$1:"$'\n'"$2"
  done
}

for module in corvane.sync.project corvane.sync.probe; do
  ansible-doc "$module" >/dev/null || fail "the documentation of $module does not load"
done

first=$(play) || fail "first run:"$'\n'"$first"
expect_recap 1 "$first"
[ "$(stat -c %a "$tmp"/host*/sync/project.dix | sort -u)" = 600 ] || fail "new files are not mode 0600"
"$dix" check "$tmp/host2/sync/project.dix" >/dev/null
before=$(files)

second=$(play) || fail "second run:"$'\n'"$second"
expect_recap 0 "$second"
[ "$(files)" = "$before" ] || fail "the second run touched a file"

check=$(play -vvv --check --diff -e '{"interval": 20}') || fail "check run:"$'\n'"$check"
expect_recap 1 "$check"
[ "$(grep -c '^interval: 15 -> 20$' <<<"$check")" = 3 ] || fail "no interval change shown:"$'\n'"$check"
! grep -q "$password" <<<"$first$second$check" || fail "the password was shown"
[ "$(files)" = "$before" ] || fail "the check run wrote a file"

# A server that refuses fails the probe task with the program's own words.
echo '{"connections": [{"host": "127.0.0.1", "port": 1, "password": "'$password'"}]}' |
  "$dix" build - "$tmp/refused.dix"
probe=$(ansible host1 -i "$tmp/inventory" -m corvane.sync.probe -a "path=$tmp/refused.dix executable=$dix") &&
  fail "the probe of a refusing server passed:"$'\n'"$probe"
grep -q '"msg": "127.0.0.1: .*refused' <<<"$probe" || fail "the probe failed without the reason:"$'\n'"$probe"
! grep -q "$password" <<<"$probe" || fail "the probe showed the password"
echo "$check"
