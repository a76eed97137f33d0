# -*- coding: utf-8 -*-
# Options every module of the collection shares: the project file and the program that reads it.
# MIT License (see LICENSE in the Corvane repository)

from __future__ import absolute_import, division, print_function

__metaclass__ = type


class ModuleDocFragment(object):
    DOCUMENTATION = r"""
options:
  path:
    description:
      - The project file on the managed host.
    type: path
    required: true
  executable:
    description:
      - The C(corvane-dix) program to run, a name looked up on the C(PATH) of the managed host
        or a path.
    type: str
    default: corvane-dix
"""
