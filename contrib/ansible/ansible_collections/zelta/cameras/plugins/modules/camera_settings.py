#!/usr/bin/python
# Keeps the cameras of one RS-485 line at a settings file, or a line book at
# the cameras' settings. zelta-cli does the work; this only maps its JSON.

DOCUMENTATION = r'''
module: camera_settings
short_description: Keep CCTV cameras on an RS-485 line at their settings
description:
  - A thin wrapper around C(zelta-cli --json) on the site PC.
  - Each camera is first compared with its settings (C(zelta-cli diff));
    only the cameras that differ are written (C(state=present)) or backed up
    (C(state=backed_up)), so a second run reports C(ok).
  - Check mode only compares and reports which cameras and items would change.
options:
  port:
    description: Serial port, as zelta-cli takes it (Com1 or a device path).
    type: str
    default: Com1
  baud:
    description: Line speed.
    type: int
    choices: [1200, 2400, 4800, 9600]
    default: 4800
  protocol:
    description: PTZ protocol of the cameras.
    type: str
    choices: [pelco-p, pelco-d, ernitec]
    default: pelco-p
  address:
    description: One camera address. Give this or C(addresses).
    type: int
  addresses:
    description: Camera addresses, such as C(2-32, 40).
    type: str
  settings:
    description: Settings file on the site PC every camera should hold (C(state=present)).
    type: path
  backup_dir:
    description:
      - Line book folder, one file per camera (C(017.TXT)).
      - With C(state=present) each camera is set to its own file; with
        C(state=backed_up) the files of the cameras that differ are read anew.
    type: path
  state:
    description:
      - C(present) the cameras hold the settings.
      - C(backed_up) the line book holds the cameras' current settings.
    type: str
    choices: [present, backed_up]
    default: present
  ignore_silent:
    description: A camera that does not answer is left out instead of failing the task.
    type: bool
    default: false
  zelta_cli:
    description: Path of the zelta-cli program.
    type: path
    default: zelta-cli
attributes:
  check_mode:
    support: full
author: ZELTA developers
'''

EXAMPLES = r'''
- name: Every camera of the lobby line holds lobby.txt
  zelta.cameras.camera_settings:
    port: /dev/ttyUSB0
    baud: 9600
    addresses: "2-32, 40"
    settings: /srv/zelta/lobby.txt

- name: The line book holds what the cameras hold now
  zelta.cameras.camera_settings:
    port: /dev/ttyUSB0
    addresses: "1-8"
    backup_dir: /srv/zelta/book
    state: backed_up
    ignore_silent: true
'''

RETURN = r'''
cameras:
  description: One entry per camera, in the order given.
  returned: always
  type: list
  elements: dict
  sample: [{"address": 3, "result": "ok", "items": []},
           {"address": 4, "result": "ok", "items": ["SHUTTER", "GAIN"], "changed": true},
           {"address": 5, "result": "no answer", "items": []}]
  contains:
    address:
      description: Camera address.
      type: int
    result:
      description: >-
        The CLI's result: C(ok) when it agreed already or was written and
        confirmed, C(differs) in check mode, C(saved) for a backup,
        C(no answer), C(refused) and so on as zelta-cli reports them.
      type: str
    items:
      description: The items that differed (or that the camera refused).
      type: list
      elements: str
    changed:
      description: True for a camera that was (or in check mode would be) written or backed up.
      type: bool
'''

import json
import os

from ansible.module_utils.basic import AnsibleModule


def address_list(text):
    found = []
    for part in str(text).split(','):
        bounds = [int(b) for b in part.split('-')]
        found.extend(range(bounds[0], bounds[-1] + 1))
    return found


def main():
    module = AnsibleModule(
        argument_spec=dict(
            port=dict(type='str', default='Com1'),
            baud=dict(type='int', default=4800, choices=[1200, 2400, 4800, 9600]),
            protocol=dict(type='str', default='pelco-p', choices=['pelco-p', 'pelco-d', 'ernitec']),
            address=dict(type='int'),
            addresses=dict(type='str'),
            settings=dict(type='path'),
            backup_dir=dict(type='path'),
            state=dict(type='str', default='present', choices=['present', 'backed_up']),
            ignore_silent=dict(type='bool', default=False),
            zelta_cli=dict(type='path', default='zelta-cli'),
        ),
        mutually_exclusive=[('address', 'addresses'), ('settings', 'backup_dir')],
        required_one_of=[('address', 'addresses'), ('settings', 'backup_dir')],
        required_if=[('state', 'backed_up', ['backup_dir'])],
        supports_check_mode=True,
    )
    p = module.params
    line = [p['zelta_cli'], '--json', '--quiet', '--port', p['port'],
            '--baud', str(p['baud']), '--protocol', p['protocol']]

    def run(args):
        rc, out, err = module.run_command(line + args)
        try:
            doc = json.loads(out)
        except ValueError:
            doc = {'error': err.strip() or out.strip()}
        return rc, doc

    try:
        addresses = [p['address']] if p['address'] else address_list(p['addresses'])
    except ValueError:
        module.fail_json(msg='not an address list: %s' % p['addresses'])

    cameras = []
    to_change = []
    silent = []
    for address in addresses:
        wanted = p['settings'] or os.path.join(p['backup_dir'], '%03d.TXT' % address)
        if p['state'] == 'backed_up' and not os.path.exists(wanted):
            cameras.append(dict(address=address, result='differs', items=[], changed=True))
            to_change.append(address)
            continue
        rc, doc = run(['--address', str(address), 'diff', wanted])
        if rc == 1 and 'agree' not in doc:
            silent.append(doc.get('error'))
            cameras.append(dict(address=address, result='no answer', items=[], changed=False))
            continue
        if rc not in (0, 1):
            module.fail_json(msg=doc.get('error'), rc=rc, cameras=cameras)
        items = [i['item'] for i in doc['items'] if i['differs']]
        cameras.append(dict(address=address, result='ok' if doc['agree'] else 'differs',
                            items=items, changed=not doc['agree']))
        if not doc['agree']:
            to_change.append(address)

    failed = None
    if to_change and not module.check_mode:
        to = ','.join(str(a) for a in to_change)
        if p['state'] == 'backed_up':
            rc, doc = run(['backup', p['backup_dir'], '--to', to])
            rows = doc.get('cameras', [])
        elif p['settings']:
            rc, doc = run(['write', p['settings'], '--to', to])
            rows = doc.get('results', [])
        else:
            rc, doc = run(['restore', p['backup_dir'], '--to', to])
            rows = doc.get('results', [])
        bad = [r['result'] for r in rows if r['result'] not in ('ok', 'saved')]
        if rc != 0 and not (p['ignore_silent'] and bad and set(bad) == {'no answer'}):
            failed = doc.get('error')
        by_address = dict((r['address'], r) for r in rows)
        for camera in cameras:
            row = by_address.get(camera['address'])
            if row:
                camera['result'] = row['result']
                camera['changed'] = row['result'] in ('ok', 'saved')
                if row.get('items'):
                    camera['items'] = row['items']

    changed = any(c.get('changed') for c in cameras)
    if failed:
        module.fail_json(msg=failed, changed=changed, cameras=cameras)
    if silent and not p['ignore_silent']:
        module.fail_json(msg='; '.join(silent), changed=changed, cameras=cameras)
    module.exit_json(changed=changed, cameras=cameras)


if __name__ == '__main__':
    main()
