"""Pad storage and autosave: typed text is stored at once, in the registry or in pad files."""
import glob
import os
import signal
import subprocess
import time
import unittest

from harness import ProgramTest, SETTINGS_KEY, ids, pad_id, wait_until

NON_ASCII = 'Grüße, 東京, 🙂'


def read(path):
    with open(path, 'rb') as f:
        return f.read().decode('utf-8')


class SettingsStoreMode(ProgramTest):
    def test_typing_writes_only_that_pad_and_a_restart_brings_it_back(self):
        self.app.start()
        self.app.show()
        self.app.focus_pad(2)
        self.desktop.type('hello')
        wait_until(lambda: self.app.registry('Data') == {'2': 'hello'}, 10, what='Data\\2')
        self.assertEqual(glob.glob(os.path.join(self.app.folder, '~tmp*')), [])
        self.app.click_control('&End')
        self.app.wait_exit()
        self.app.start()
        self.assertEqual(self.app.pad_text(2), 'hello')
        self.assertEqual(self.app.pad_text(1), '')

    def test_deleting_all_text_writes_an_empty_value(self):
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        self.desktop.type('abc')
        wait_until(lambda: self.app.registry('Data').get('1') == 'abc', 10, what='abc')
        self.desktop.key('ctrl+a', 'BackSpace')
        wait_until(lambda: self.app.registry('Data').get('1') == '', 10, what='empty value')

    def test_non_ascii_and_line_breaks_survive_a_restart(self):
        self.app.set_setting('3', NON_ASCII + '\r\nline two', section='Data')
        self.app.start()
        self.assertEqual(self.app.pad_text(3), NON_ASCII + '\r\nline two')
        self.app.show()
        self.app.focus_pad(3)
        self.desktop.type('!')
        want = NON_ASCII + '\r\nline two!'
        wait_until(lambda: self.app.registry('Data').get('3') == want, 10, what='stored text')
        self.app.click_control('&End')
        self.app.wait_exit()
        self.app.start()
        self.assertEqual(self.app.pad_text(3), want)


class BothStores(ProgramTest):
    def test_typing_in_the_shown_pad_is_stored_in_either_store(self):
        for registry in (True, False):
            with self.subTest(registry=registry):
                self.app.set_setting('Reg', '1' if registry else '0')
                self.app.start()
                self.app.show()
                self.app.click_control(id=pad_id(1))
                self.desktop.key('ctrl+End')
                self.desktop.type('kept')
                path = self.app.pad_file(1)

                def stored():
                    if registry:
                        return self.app.registry('Data').get('1')
                    return read(path) if os.path.exists(path) else None

                wait_until(lambda: stored() == 'kept', 20, what='the first key stored')
                # Keys in the middle of the text, a line break made and taken away with
                # Backspace and with Delete: each stored as the pad shows it.
                self.desktop.key('Return')
                self.desktop.type('two')
                self.desktop.key('Home', 'BackSpace', 'Return', 'Up', 'End', 'Delete',
                                 'BackSpace')
                wait_until(lambda: stored() == 'keptwo', 20, what='the edits stored')
                self.app.click_control('&End')
                self.app.wait_exit()


class PadsFolder(ProgramTest):
    def choose_folder(self, path):
        """"Pads Folder..." from the system menu, and a folder typed into the system's picker."""
        self.app.probe('syscommand', str(ids.kPadsFolderCommand))
        wait_until(lambda: any(w['title'] == 'Pads Folder' and w['visible']
                               for w in self.app.windows()['windows']), 20,
                   what='the folder picker')
        self.desktop.type(path)
        self.desktop.key('Return')
        wait_until(lambda: not any(w['title'] == 'Pads Folder'
                                   for w in self.app.windows()['windows']), 20,
                   what='the picker closed')

    def test_the_pads_go_to_a_chosen_folder_or_take_the_notes_it_holds(self):
        self.app.set_setting('Reg', '0')
        empty, shared = self.app.unix_path('C:\\Sync'), self.app.unix_path('C:\\Shared')
        os.makedirs(empty)
        os.makedirs(shared)
        with open(os.path.join(shared, 'Doc 2.txt'), 'wb') as f:
            f.write(b'from the other computer')
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        self.desktop.type('my notes')
        self.choose_folder('C:\\Sync')
        self.assertEqual(self.app.registry('Setting')['Folder'], 'C:\\Sync')
        with open(os.path.join(empty, 'Doc 1.txt'), 'rb') as f:
            self.assertEqual(f.read(), b'my notes')
        # Another folder with pads in it: its notes are shown, what the pads showed is kept.
        self.choose_folder('C:\\Shared')
        wait_until(lambda: self.app.pad_text(2) == 'from the other computer', 10,
                   what='the shared notes shown')
        self.assertEqual(self.app.pad_text(1), '')
        self.assertIn(b'my notes', self.app.history(1).values())
        self.assertEqual(sorted(os.listdir(shared)), ['Doc 2.txt'])


    def test_files_that_are_not_pads_stay_as_they_are(self):
        folder = self.app.unix_path('C:\\Sync')
        os.makedirs(folder)
        def write(name, data):
            with open(os.path.join(folder, name), 'wb') as f:
                f.write(data)
        # The user's own files, Explorer's and a browser's copies, another pad, a name of
        # OneDrive's form: none of them a copy the program may take.
        theirs = {name: ('the text of %s\r\n' % name).encode() for name in (
            'Doc 1 - Copy.txt', 'Doc 1 (2).txt', 'Doc 1 (1).txt', 'Doc 1 backup.txt',
            'Doc 1 - ideas.txt', 'Doc 10.txt', 'Doc 1-LAPTOP.txt', 'Notes.txt')}
        for name, data in theirs.items():
            write(name, data)
        write('Doc 1.txt', b'one\r\ntwo\r\n')
        write('Doc 2.txt', b'two here')
        # A copy syncthing left: merged into the pad and gone.
        write('Doc 1.sync-conflict-20261209-101010-K3X2R2T.txt', b'one\r\ntwo\r\nthree\r\n')
        self.app.set_setting('Reg', '0')
        self.app.set_setting('Folder', 'C:\\Sync')
        self.app.start()
        self.app.show()
        wait_until(lambda: self.app.pad_text(1) == 'one\r\ntwo\r\nthree\r\n', 10,
                   what='the copy merged')
        # What another computer's save left when it was cut short: never put over the pad, its
        # text kept in the pad's history.
        write('Doc 2.txt.ok', b"the laptop's two")
        wait_until(lambda: b"the laptop's two" in self.app.history(2).values(), 10,
                   what='the other computer\'s text kept')
        texts = ' '.join(t for d in self.app.dialogs() for t in d['texts'])
        for told in ('"Doc 1-LAPTOP.txt"', '"Doc 2.txt.ok"', 'Merged into Doc #1'):
            self.assertIn(told, texts)
        self.app.close_notices()
        self.assertEqual(self.app.pad_text(2), 'two here')
        self.app.wine('taskkill', '/IM', 'VornNotes.exe', check=False)
        self.app.wait_exit()
        self.app.start()
        self.app.show()
        wait_until(self.app.dialogs, 10, what='what was found told again')
        self.app.close_notices()
        self.assertEqual(self.app.pad_text(2), 'two here')
        theirs['Doc 2.txt.ok'] = b"the laptop's two"
        for name, data in theirs.items():
            with open(os.path.join(folder, name), 'rb') as f:
                self.assertEqual(f.read(), data, name)
        self.assertEqual(sorted(os.listdir(folder)),
                         sorted(list(theirs) + ['Doc 1.txt', 'Doc 2.txt']))
        with open(os.path.join(folder, 'Doc 1.txt'), 'rb') as f:
            self.assertEqual(f.read(), b'one\r\ntwo\r\nthree\r\n')


class FileMode(ProgramTest):
    def test_only_the_changed_pads_file_appears_and_a_restart_restores_it(self):
        for reg in ('0', '2'):
            with self.subTest(reg=reg):
                self.app.set_setting('Reg', reg)
                self.app.start()
                self.app.show()
                self.app.focus_pad(2)
                self.desktop.type('in a file ' + reg)
                path = self.app.pad_file(2)
                wait_until(lambda: os.path.exists(path) and read(path).endswith(reg), 10, what='file')
                self.assertEqual(read(path), 'in a file ' + reg)
                self.assertEqual(sorted(os.listdir(self.app.folder)), ['VornNotes.exe', '~tmp2.tmp'])
                self.assertEqual(self.app.registry('Data'), {})
                self.app.wine('taskkill', '/IM', 'VornNotes.exe', check=False)
                self.app.wait_exit()
                self.app.start()
                self.assertEqual(self.app.pad_text(2), 'in a file ' + reg)
                # Deleting all text writes an empty file.
                self.app.show()
                self.app.focus_pad(2)
                self.desktop.key('ctrl+a', 'BackSpace')
                wait_until(lambda: read(path) == '', 10, what='an empty file')
                self.app.click_control('&End')
                self.app.wait_exit()
                os.remove(path)

    def test_non_ascii_and_older_code_page_files_load(self):
        with open(os.path.join(self.app.folder, '~tmp5.tmp'), 'wb') as f:
            f.write((NON_ASCII + '\r\nzwei').encode('utf-8'))
        with open(os.path.join(self.app.folder, '~tmp6.tmp'), 'wb') as f:
            f.write('Grüße'.encode('cp1252'))  # written by an earlier build
        with open(os.path.join(self.app.folder, '~tmp7.tmp'), 'wb') as f:
            f.write('\ufeffmarked'.encode('utf-16-le'))
        # Saved by an earlier build without a manifest: Windows put it in the VirtualStore.
        virtual = self.app.user_folder('AppData', 'Local', 'VirtualStore', 'Program Files',
                                       'Vorn Notes')
        os.makedirs(virtual)
        with open(os.path.join(virtual, '~tmp8.tmp'), 'wb') as f:
            f.write(b'kept by Windows')
        self.app.set_setting('Reg', '0')
        self.app.start(look_at_pads=False)
        notice = wait_until(self.app.dialogs, 10, what='the notice')
        self.assertIn('Doc #8 shows the text an earlier version', str(notice))
        # The notice leaves the keyboard where the user types, and F6 reaches it.
        self.app.show()
        self.app.focus_pad(5)
        self.desktop.type('!')
        path = self.app.pad_file(5)
        wait_until(lambda: read(path) == NON_ASCII + '\r\nzwei!', 10, what='UTF-8 file')
        self.desktop.key('F6')
        time.sleep(0.5)
        self.desktop.key('Return')
        wait_until(lambda: not self.app.dialogs(), 10, what='the notice closed from the keyboard')
        self.assertEqual(self.app.pad_text(6), 'Grüße')
        self.assertEqual(self.app.pad_text(7), 'marked')
        self.assertEqual(self.app.pad_text(8), 'kept by Windows')
        wait_until(lambda: os.path.exists(self.app.pad_file(8)) and
                   read(self.app.pad_file(8)) == 'kept by Windows', 10, what='stored here')
        self.assertEqual(read(os.path.join(virtual, '~tmp8.tmp')), 'kept by Windows')

    def test_a_program_in_a_drives_root_keeps_its_files_there(self):
        self.app.place('C:\\')
        self.app.set_setting('Reg', '0')
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        self.desktop.type('root')
        path = os.path.join(self.app.unix_path('C:\\'), '~tmp1.tmp')
        wait_until(lambda: os.path.exists(path) and read(path) == 'root', 10, what='C:\\~tmp1.tmp')


class WriteFailures(ProgramTest):
    def test_a_pad_too_large_for_the_registry_keeps_the_pads_in_their_files(self):
        big = ('x' * 98 + '\r\n') * 6000  # 1.2 MB as UTF-16: more than one value holds
        with open(os.path.join(self.app.folder, '~tmp1.tmp'), 'w', newline='') as f:
            f.write(big)
        self.app.set_setting('Reg', '0')
        self.app.set_setting('1', 'small', section='Data')
        self.app.start()
        self.app.show()
        self.app.click_control('Store in &Registry')
        box = wait_until(lambda: self.app.dialogs(), 20, what='the Ooops box')
        self.assertEqual(box[0]['title'], 'Ooops...')
        text = ' '.join(box[0]['texts'])
        self.assertIn('Doc #1, registry value', text)
        self.assertIn('524,287', text)
        self.desktop.key('Return')
        wait_until(lambda: not self.app.dialogs(), 10, what='the box to close')
        self.assertEqual(self.app.control('Store in &Registry')['check'], 0)
        self.assertEqual(self.app.registry('Data').get('1'), 'small')
        self.assertTrue(self.app.running())


class Crashes(ProgramTest):
    def test_a_kill_during_large_writes_leaves_every_pad_file_whole(self):
        old = ('0123456789' * 100 + '\r\n') * 1000  # about 1 MB
        with open(os.path.join(self.app.folder, '~tmp1.tmp'), 'w', newline='') as f:
            f.write(old)
        self.app.set_setting('Reg', '0')
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        typed = 'abcdefghijklmnopqrstuvwxyz'
        typing = subprocess.Popen(['xdotool', 'type', '--delay', '15', typed], env=self.desktop.env)
        time.sleep(0.25)
        os.kill(self.app.proc.pid, signal.SIGKILL)
        typing.wait(10)
        self.app.wait_exit()
        self.app.stop()
        text = read(self.app.pad_file(1))
        self.assertTrue(text.startswith(old), 'the old text was cut short')
        self.assertTrue(typed.startswith(text[len(old):]), repr(text[len(old):]))
        # The next start recovers or removes what the kill left, and loads a whole text.
        self.app.start()
        self.assertTrue(self.app.pad_text(1).startswith(old))
        self.assertEqual(sorted(os.listdir(self.app.folder)), ['VornNotes.exe', '~tmp1.tmp'])


if __name__ == '__main__':
    unittest.main()
