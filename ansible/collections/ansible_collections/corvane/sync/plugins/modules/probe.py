#!/usr/bin/python
# -*- coding: utf-8 -*-
# MIT License (see LICENSE in the Corvane repository)

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: probe
short_description: Test the FTP connections of a Corvane project from the managed host
version_added: "1.0.0"
description:
  - Runs C(corvane-dix probe) on the managed host. It connects to each FTP connection of the
    project (or to the one named I(host)) as the connection test of the Corvane window does,
    through the project's proxy where a connection uses it, and lists I(folder).
  - The task fails when any connection fails, with the program's message naming the host and
    the reason. Passwords never appear in that message.
  - Nothing is changed, so the task never reports C(changed) and runs in check mode too.
options:
  host:
    description:
      - Test only the connection with this host; by default every connection is tested.
    type: str
  folder:
    description:
      - The folder to list on each server.
    type: str
    default: /
extends_documentation_fragment:
  - corvane.sync.common
notes:
  - Supports check mode; the connections are tested in check mode as well, since testing
    changes nothing.
author:
  - Corvane developers
"""

EXAMPLES = r"""
- name: The service host reaches every FTP server of its project
  corvane.sync.probe:
    path: /srv/sync/project.dix

- name: One server, one folder
  corvane.sync.probe:
    path: /srv/sync/project.dix
    host: ftp.example.com
    folder: /incoming
"""

RETURN = r"""
lines:
  description: What C(corvane-dix probe) printed, one entry per line.
  returned: always
  type: list
  elements: str
  sample:
    - "ftp.example.com: OK"
    - "  incoming"
rc:
  description: The exit status of C(corvane-dix probe); 0 when every connection worked.
  returned: always
  type: int
  sample: 0
"""

import os

from ansible.module_utils.basic import AnsibleModule


def main():
    module = AnsibleModule(
        argument_spec=dict(
            path=dict(type="path", required=True),
            host=dict(type="str"),
            folder=dict(type="str", default="/"),
            executable=dict(type="str", default="corvane-dix"),
        ),
        supports_check_mode=True,
    )
    executable = module.params["executable"]
    if os.sep not in executable:
        executable = module.get_bin_path(executable, required=True)
    command = [executable, "probe", module.params["path"], "--path", module.params["folder"]]
    if module.params["host"]:
        command += ["--host", module.params["host"]]
    rc, out, err = module.run_command(command, environ_update={"LC_ALL": "C.UTF-8"})
    lines = [line for line in out.splitlines() if line]
    if rc != 0:
        # The program's own words: each server that failed and why, or why none was tried.
        failed = [line for line in lines if not line.startswith(" ") and not line.endswith(": OK")]
        message = "\n".join(failed + [err.strip()]).strip() or "corvane-dix probe: exit status %d" % rc
        module.fail_json(msg=message, rc=rc, lines=lines)
    module.exit_json(changed=False, rc=rc, lines=lines)


if __name__ == "__main__":
    main()
