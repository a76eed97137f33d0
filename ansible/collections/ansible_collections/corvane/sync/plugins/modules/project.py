#!/usr/bin/python
# -*- coding: utf-8 -*-
# MIT License (see LICENSE in the Corvane repository)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: project
short_description: Keep a Corvane project file as a configuration describes it
version_added: "1.0.0"
description:
  - Builds the project file (C(.dix)) that the Corvane synchronisation service reads from
    I(config), the JSON that C(corvane-dix build) reads, given here as a dictionary.
  - The file is built into a private temporary folder first and compared byte for byte with
    the file at I(path); the task reports C(changed) only when those bytes differ, and only
    then is the file replaced.
  - The file is replaced as C(corvane-dix) replaces it, through a temporary file in the same
    folder that is renamed over it, so a failure never leaves a damaged project. Symbolic links
    are followed and stay links. An existing file keeps its mode, owner and group; a new file
    gets mode C(0600), since it holds passwords.
  - In diff mode the difference is shown as C(corvane-dix diff) prints it, one line per change
    in the project's own terms. A password is only ever shown as C(password changed).
  - 'Passwords in I(config) may be references, C({"env": "NAME"}) or C({"file": "PATH"}),
    where the installed C(corvane-dix) supports them; they are resolved on the managed host
    when the file is built, and never pass through the controller.'
options:
  config:
    description:
      - The project as the JSON that C(corvane-dix build) reads (see C(corvane-dix dump) for
        every key). Keys that are left out take the values of a new project.
      - A profile without C(stateFile) keeps the state file name of the existing file's profile
        with the same C(connection), C(localFolder) and C(ftpFolder), so the service keeps its
        synchronisation state and a second run changes nothing. A profile that is new gets a
        fresh name.
      - Every password string in it is kept out of the task's output and logs.
    type: dict
    required: true
  backup:
    description:
      - Keep a copy of the previous file, with a time stamp in its name, when it is replaced.
    type: bool
    default: false
extends_documentation_fragment:
  - corvane.sync.common
notes:
  - Supports check mode and diff mode. In check mode the file is built into a temporary
    folder and compared, and nothing at I(path) is written.
  - The managed host needs C(corvane-dix) installed.
author:
  - Corvane developers
"""

EXAMPLES = r"""
- name: Every service host runs the same two profiles
  corvane.sync.project:
    path: /srv/sync/project.dix
    backup: true
    config:
      interval: 15
      connections:
        - host: ftp.example.com
          user: sync
          password: "{{ vault_ftp_password }}"
          passive: true
      profiles:
        - connection: ftp.example.com
          localFolder: /srv/out
          ftpFolder: /incoming
          upload: true
          useMasks: true
          masks:
            - mask: "*.bak"
              upload: true
              download: true
        - connection: ftp.example.com
          localFolder: /srv/in
          ftpFolder: /outgoing
          download: true
      mail:
        server: smtp.example.com
        recipients:
          - ops@example.com
  notify: Restart the synchronisation service

- name: A program that is not on the PATH
  corvane.sync.project:
    path: /srv/sync/project.dix
    executable: /opt/corvane/bin/corvane-dix
    config: "{{ lookup('file', 'project.json') | from_json }}"

- name: Show what a new interval would change, without writing
  corvane.sync.project:
    path: /srv/sync/project.dix
    config: "{{ project | combine({'interval': 30}) }}"
  check_mode: true
  diff: true
"""

RETURN = r"""
path:
  description: The project file.
  returned: always
  type: str
  sample: /srv/sync/project.dix
changes:
  description:
    - One line per difference between the file as it was and as it is (or, in check mode,
      would be), as C(corvane-dix diff) prints them. Empty when nothing changed. A password
      shows only as changed.
  returned: always
  type: list
  elements: str
  sample:
    - 'connection "ftp.example.com": password changed'
    - 'profile 1 "/srv/out": mask "*.bak" added'
    - "interval: 15 -> 20"
backup_file:
  description: The copy of the previous file, when I(backup) made one.
  returned: changed and backup is true and the file existed
  type: str
  sample: /srv/sync/project.dix.12345.2026-12-06@08:15:00~
"""

import json
import os
import shutil
import subprocess
import tempfile

from ansible.module_utils.basic import AnsibleModule
from ansible.module_utils.common.text.converters import to_native

# The keys whose string values are secrets, wherever they appear in the configuration.
SECRET_KEYS = ("password",)


def secret_strings(value):
    """Every password given as plain text in the configuration."""
    found = []
    if isinstance(value, dict):
        for key, item in value.items():
            if key in SECRET_KEYS and isinstance(item, str) and item:
                found.append(item)
            else:
                found.extend(secret_strings(item))
    elif isinstance(value, list):
        for item in value:
            found.extend(secret_strings(item))
    return found


class Dix(object):
    """corvane-dix on the managed host."""

    def __init__(self, module, executable):
        self.module = module
        if os.sep in executable:
            self.path = executable
        else:
            self.path = module.get_bin_path(executable, required=True)

    def run(self, *args):
        return self.module.run_command([self.path] + list(args), environ_update={"LC_ALL": "C.UTF-8"})

    def must(self, *args):
        rc, out, err = self.run(*args)
        if rc != 0:
            self.module.fail_json(msg=(err or out).strip(), rc=rc, command=args[0])
        return out

    def changes(self, before, after):
        """The lines of `diff`, or None when `before` is not a project it can read."""
        rc, out, err = self.run("diff", before, after)
        if rc == 2:
            return None
        return [line for line in out.splitlines() if line]


def profiles_of(dix, path):
    """The profiles of the project at `path`, or none when it cannot be read."""
    if not os.path.isfile(path):
        return []
    rc, out, err = dix.run("dump", path)
    try:
        return json.loads(out).get("profiles", []) if rc == 0 else []
    except ValueError:
        return []


def where(profile):
    return tuple(profile.get(k) for k in ("connection", "localFolder", "ftpFolder"))


def keep_state_files(config, built, existing):
    """The configuration with each profile that names no state file given the name of the
    existing profile that synchronises the same folders; None when there is none to give.
    `built` are the profiles as the configuration builds them, in the same order."""
    profiles = config.get("profiles")
    if not existing or not isinstance(profiles, list) or len(profiles) != len(built):
        return None
    unused = list(existing)
    kept = []
    for profile, made in zip(profiles, built):
        if isinstance(profile, dict) and "stateFile" not in profile:
            old = next((o for o in unused if where(o) == where(made)), None)
            if old is not None:
                unused.remove(old)
                profile = dict(profile, stateFile=old["stateFile"])
        kept.append(profile)
    return dict(config, profiles=kept) if kept != profiles else None


def replace_file(path, built):
    """Puts `built` at `path` as the program saves: same folder, same mode, then rename."""
    target = os.path.realpath(path)
    folder = os.path.dirname(target)
    old = os.stat(target) if os.path.exists(target) else None
    fd, temporary = tempfile.mkstemp(prefix=".corvane-save-", dir=folder)
    try:
        with os.fdopen(fd, "wb") as out, open(built, "rb") as source:
            shutil.copyfileobj(source, out)
            out.flush()
            if old is not None:
                if os.geteuid() == 0:
                    os.fchown(out.fileno(), old.st_uid, old.st_gid)
                os.fchmod(out.fileno(), old.st_mode & 0o7777)
            else:
                os.fchmod(out.fileno(), 0o600)
            os.fsync(out.fileno())
        os.rename(temporary, target)
    except Exception:
        if os.path.exists(temporary):
            os.unlink(temporary)
        raise


def build(dix, config, work):
    """The project file `config` describes, built in the private folder `work`."""
    wanted = os.path.join(work, "config.json")
    built = os.path.join(work, "project.dix")
    fd = os.open(wanted, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600)
    with os.fdopen(fd, "w") as out:
        json.dump(config, out)
    dix.must("build", wanted, built)
    return built


def same_bytes(first, second):
    if not os.path.isfile(first):
        return False
    with open(first, "rb") as a, open(second, "rb") as b:
        return a.read() == b.read()


def main():
    module = AnsibleModule(
        argument_spec=dict(
            path=dict(type="path", required=True),
            config=dict(type="dict", required=True),
            executable=dict(type="str", default="corvane-dix"),
            backup=dict(type="bool", default=False),
        ),
        supports_check_mode=True,
    )
    config = module.params["config"]
    # Masked wherever they would appear: results, warnings, logs.
    module.no_log_values.update(secret_strings(config))
    path = module.params["path"]
    dix = Dix(module, module.params["executable"])
    result = dict(changed=False, path=path, changes=[])

    work = tempfile.mkdtemp(prefix="corvane-", dir=module.tmpdir)
    try:
        built = build(dix, config, work)
        # A fresh state file name on every run would make every run a change, and would
        # make the service start its synchronisation state over.
        kept = keep_state_files(config, profiles_of(dix, built), profiles_of(dix, path))
        if kept is not None:
            built = build(dix, kept, work)
        if same_bytes(path, built):
            module.exit_json(**result)

        result["changed"] = True
        before = path
        if not os.path.exists(path):
            before = os.path.join(work, "empty.dix")
            dix.must("new", before)
        changes = dix.changes(before, built)
        if changes is None:
            changes = ["%s: not a project file that can be read; it is replaced" % path]
        result["changes"] = changes
        if module._diff:
            result["diff"] = dict(before_header=path, after_header=path, prepared="\n".join(changes) + "\n")
        if not module.check_mode:
            if module.params["backup"] and os.path.exists(path):
                result["backup_file"] = module.backup_local(path)
            replace_file(path, built)
    except (IOError, OSError) as e:
        module.fail_json(msg="cannot write %s: %s" % (path, to_native(e)), **result)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    module.exit_json(**result)


if __name__ == "__main__":
    main()
