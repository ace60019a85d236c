"""The setup for Windows as a user meets it: installed, typed into, installed again over the
running program, and removed, with every note where the README says it stays."""
import glob
import os
import re
import time
import unittest

from harness import ROOT, ProgramTest, wait_until

UNINSTALL_KEY = r'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vorn Notes'
RUN_KEY = r'HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
APPROVED_KEY = r'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'
INSTALLED = r'C:\users\%s\AppData\Local\Programs\Vorn Notes'


def read(path):
    with open(path, 'rb') as f:
        return f.read().decode('utf-8')


class Install(ProgramTest):
    def setUp(self):
        super().setUp()
        setups = glob.glob(os.path.join(ROOT, 'build', 'dist', 'VornNotes-*-setup.exe'))
        self.assertEqual(len(setups), 1, 'tools/build.sh makes build/dist/VornNotes-<version>-setup.exe')
        self.setup_exe = setups[0]
        user = os.path.basename(self.app.user_folder())
        self.installed = INSTALLED % user
        # Wine's Documents is the Linux home: the pad files an uninstall moves stay in the prefix.
        documents = self.app.user_folder('Documents')
        if os.path.islink(documents):
            os.unlink(documents)
            os.makedirs(documents)

    def values(self, key):
        r = self.app.wine('reg', 'query', key, check=False)
        return dict(re.findall(r'^\s+(\S[^\r\n]*?)\s+REG_\w+\s+([^\r\n]*)$',
                               r.stdout.decode('utf-8', 'replace').replace('\r', ''), re.M))

    def install(self, check=True):
        """The setup run silently, as a script runs it; it returns once it is done."""
        return self.app.wine(self.setup_exe, '/S', timeout=180, check=check).returncode

    def program_window(self):
        return self.app.notes_window()

    def test_install_update_and_uninstall_keep_every_note(self):
        self.install()
        folder = self.app.unix_path(self.installed)
        self.assertTrue(os.path.exists(os.path.join(folder, 'VornNotes.exe')))
        shortcut = self.app.user_folder('AppData', 'Roaming', 'Microsoft', 'Windows', 'Start Menu',
                                        'Programs', 'Vorn Notes.lnk')
        self.assertTrue(os.path.exists(shortcut))
        entry = self.values(UNINSTALL_KEY)
        self.assertEqual(entry['DisplayName'], 'Vorn Notes')
        self.assertEqual(entry['Publisher'], 'Kalvo')
        self.assertRegex(entry['DisplayVersion'], r'^\d+\.\d+$')
        self.assertEqual(os.path.basename(self.setup_exe),
                         'VornNotes-%s-setup.exe' % entry['DisplayVersion'])
        self.assertEqual(entry['QuietUninstallString'], '"%s\\Uninstall.exe" /S' % self.installed)
        self.assertEqual(self.values(RUN_KEY).get('Vorn Notes'),
                         '"%s\\VornNotes.exe" /logon' % self.installed)

        # The installed program: one pad in the registry, then one in a pad file beside it.
        self.app.folder = folder
        self.app.program = self.installed + '\\VornNotes.exe'
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        self.desktop.type('in the registry')
        wait_until(lambda: self.app.registry('Data').get('1') == 'in the registry', 10,
                   what='pad 1 in the registry')
        self.app.click_control('Store in &Registry')
        self.app.focus_pad(2)
        self.desktop.type('in a file')
        pad_file = os.path.join(folder, '~tmp2.tmp')
        wait_until(lambda: os.path.exists(pad_file) and read(pad_file) == 'in a file', 10,
                   what='pad 2 in its file')

        # A pad that cannot be stored keeps the program running and the update from going on.
        first = self.program_window()['hwnd']
        os.chmod(pad_file, 0o444)
        self.desktop.type('!')
        time.sleep(1)
        self.assertNotEqual(self.install(check=False), 0)
        self.assertEqual(self.program_window()['hwnd'], first)
        self.assertNotIn('Top', self.app.registry('Setting'))  # not ended
        os.chmod(pad_file, 0o644)
        wait_until(lambda: read(pad_file) == 'in a file!', 20, what='pad 2 stored at last')

        # The same setup again over the running program: it ends as End does (the window's
        # place stored) and comes back, hidden, with every word; the start at log-on, turned
        # off in Task Manager meanwhile, stays off.
        self.app.wine('reg', 'add', APPROVED_KEY, '/v', 'Vorn Notes', '/t', 'REG_BINARY', '/d',
                      '030000000000000000000000', '/f')
        self.install()
        self.assertEqual(self.values(APPROVED_KEY).get('Vorn Notes'), '030000000000000000000000')
        self.assertIn('Vorn Notes', self.values(RUN_KEY))
        again = wait_until(lambda: (lambda w: w if w and w['hwnd'] != first else None)(
            self.program_window()), 30, what='the program started again')
        self.assertFalse(again['visible'])
        self.assertEqual(self.app.pad_text(1), 'in the registry')
        self.assertEqual(self.app.pad_text(2), 'in a file!')
        self.assertIn('Top', self.app.registry('Setting'))

        # Removed: the program, its shortcut, its entry and its Run value go; the notes stay.
        self.app.wine(os.path.join(folder, 'Uninstall.exe'), '/S', timeout=60)
        wait_until(lambda: not os.path.exists(os.path.join(folder, 'Uninstall.exe')), 60,
                   what='the uninstall done')
        wait_until(lambda: self.program_window() is None, 10, what='the program ended')
        self.assertFalse(os.path.exists(folder))
        self.assertFalse(os.path.exists(shortcut))
        self.assertEqual(self.values(UNINSTALL_KEY), {})
        self.assertNotIn('Vorn Notes', self.values(RUN_KEY))
        self.assertEqual(self.app.registry('Data').get('1'), 'in the registry')
        self.assertEqual(self.app.registry('Setting')['Reg'], '0')
        moved = glob.glob(self.app.user_folder('Documents', 'Vorn Notes', 'Pad files *', '~tmp2.tmp'))
        self.assertEqual([read(p) for p in moved], ['in a file!'])


if __name__ == '__main__':
    unittest.main()
