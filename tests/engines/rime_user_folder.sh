#!/usr/bin/env bash
# The Rime set-up of the README, tried in a user folder beside the learner's
# own schemas: the shared folder holds rime-data (luna_pinyin and
# default.yaml from rime-prelude) and the exported schema, the user folder
# the shipped default.custom.yaml. After deploying, the schema list must
# hold luna_pinyin and the rest as before, and lanchuan after them.
#   rime_user_folder.sh ENGINE_DIR
set -euo pipefail
engines=$1
shared_data=/usr/share/rime-data
for f in "$shared_data/default.yaml" "$shared_data/luna_pinyin.schema.yaml"; do
  if [ ! -e "$f" ]; then
    echo "not checked: $f is not installed (rime-prelude, rime-data-luna-pinyin)"
    exit 77
  fi
done
command -v rime_deployer >/dev/null || { echo "not checked: rime_deployer (librime-bin) is not installed"; exit 77; }
tmp=$(mktemp -d /tmp/quorvel-rime-user-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/shared" "$tmp/user"
for f in "$shared_data"/*; do ln -s "$f" "$tmp/shared/"; done
cp "$engines"/rime/lanchuan.schema.yaml "$engines"/rime/lanchuan.dict.yaml "$tmp/shared/"
cp "$engines"/rime/default.custom.yaml "$tmp/user/"
before=$(sed -n '/^schema_list:/,/^[a-z]/p' "$shared_data/default.yaml" | grep -- '- schema:')
# Schemas that default.yaml names but are not installed count as failures;
# the list is what matters.
(cd "$tmp/user" && GLOG_minloglevel=2 rime_deployer --build . ../shared ./build >/dev/null 2>&1) || true
after=$(sed -n '/^schema_list:/,/^[a-z]/p' "$tmp/user/build/default.yaml" | grep -- '- schema:')
expected=$(printf '%s\n  - schema: lanchuan' "$before")
if [ "$after" != "$expected" ]; then
  printf 'the schema list after deploying:\n%s\nexpected:\n%s\n' "$after" "$expected"
  exit 1
fi
[ -s "$tmp/user/build/lanchuan.table.bin" ] || { echo "lanchuan was not compiled"; exit 1; }
echo "Rime: lanchuan added after the learner's $(wc -l <<<"$before") schemas"
