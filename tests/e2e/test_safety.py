"""Nothing typed is lost: one program at a time, a history to restore from, stored text that is
never replaced unseen, and saves that are tried again until they work."""
import glob
import os
import signal
import subprocess
import time
import unittest

from harness import PROGRAM_DIR, ProgramTest, WINE, ids, wait_until

SENTENCE = 'important words typed while the folder was locked'


def read(path):
    with open(path, 'rb') as f:
        return f.read()


class OneProgram(ProgramTest):
    def second_start(self, *arguments):
        second = subprocess.Popen([WINE, self.app.program] + list(arguments), env=self.app.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.app.started.append(second)
        self.assertEqual(second.wait(60), 0)

    def test_a_second_start_shows_the_first_programs_window_and_ends(self):
        self.app.start()
        # Windows' own starts, at log-on and after a restart for an update, show nothing.
        self.second_start('/logon')
        self.second_start('/restart')
        time.sleep(1)
        self.assertTrue(self.app.hidden())
        self.second_start()
        wait_until(self.app.shown, 10, what='the first window shown')
        wait_until(lambda: self.app.notes_window()['foreground'], 10, what='the focus')
        windows = self.app.windows()['windows']
        self.assertEqual(len([w for w in windows if w['class'] == ids.kNotesWindowClass]), 1)
        self.assertEqual(len(self.desktop.tray_icons()), 1)
        self.assertTrue(self.app.running())


class History(ProgramTest):
    def test_typing_over_a_whole_pad_then_restoring_it_from_the_history(self):
        text = 'abcdefghij' * 12
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        self.desktop.type(text)
        wait_until(lambda: self.app.registry('Data').get('1') == text, 20, what='the text stored')
        self.desktop.key('ctrl+a')
        self.desktop.type('x')
        wait_until(lambda: self.app.registry('Data').get('1') == 'x', 10, what='the pad replaced')
        self.assertIn(text.encode('utf-8'), self.app.history(1).values())
        self.desktop.key('ctrl+h')
        history = wait_until(lambda: [w for w in self.app.windows()['windows']
                                      if w['class'] == ids.kHistoryWindowClass and w['visible']],
                             10, what='the History window')
        self.assertEqual(history[0]['title'], 'History of Doc #1')
        self.desktop.key('Return')  # the newest version is selected; Restore is the default
        wait_until(lambda: self.app.registry('Data').get('1') == text, 10, what='the text restored')
        self.assertEqual(self.app.pad_text(1), text)
        # The restore is one change: Ctrl+Z in the pad takes it back.
        self.app.focus_pad(1)
        self.desktop.key('ctrl+z')
        wait_until(lambda: self.app.registry('Data').get('1') == 'x', 10, what='the restore undone')

    def test_a_version_of_any_text_shows_and_a_blocked_history_is_told(self):
        # U+02DC (byte 0x98 of code page 1252) at the start of a line.
        note = '\u02dc 5 km to the lake\r\n\u02bc and back before the rain'
        self.app.set_setting('1', note, section='Data')
        # A file where the History folder of Doc #2 goes.
        history = self.app.user_folder('AppData', 'Local', 'Vorn Notes', 'History')
        os.makedirs(history)
        with open(os.path.join(history, '2'), 'w') as f:
            f.write('in the way')
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        self.desktop.key('ctrl+a')
        self.desktop.type('x')
        wait_until(lambda: self.app.registry('Data').get('1') == 'x', 10, what='the pad replaced')
        self.desktop.key('ctrl+h')
        wait_until(lambda: [w for w in self.app.windows()['windows']
                            if w['class'] == ids.kHistoryWindowClass and w['visible']],
                   10, what='the History window')
        preview = wait_until(
            lambda: [c for c in self.app.probe('controls', ids.kHistoryWindowClass) or []
                     if c['id'] == ids.kHistoryPreview and c['text']], 10, what='the version')
        self.assertEqual(preview[0]['text'].replace('\r\n', '\r').replace('\r', '\r\n'), note)
        self.desktop.key('Escape')
        self.assertTrue(self.app.running())

        self.app.focus_pad(2)
        self.desktop.type('a note of more than thirty-two characters')
        self.desktop.key('ctrl+a')
        self.desktop.type('y')
        told = wait_until(self.app.dialogs, 10, what='the history problem told')
        self.assertIn('The history cannot be written', ' '.join(told[0]['texts']))
        rescued = glob.glob(self.app.user_folder('Temp', 'Vorn Notes', 'History', '2', '*'))
        self.assertEqual([read(p) for p in rescued],
                         [b'a note of more than thirty-two characters'])


class StoredTextSurvives(ProgramTest):
    def write_pad(self, n, data):
        with open(self.app.pad_file(n), 'wb') as f:
            f.write(data)

    def test_a_pad_file_held_by_another_program_at_start_is_not_replaced(self):
        self.write_pad(2, b'kept safe')
        self.app.set_setting('Reg', '0')
        holder = self.app.hold(PROGRAM_DIR + r'\~tmp2.tmp', 20)
        self.app.start()
        self.app.show()
        self.app.click_tab(2)
        self.assertTrue(self.app.probe('status')['panel1'].startswith('Doc #2 could not be read'))
        self.app.focus_pad(2)
        self.desktop.type('new')
        time.sleep(2)
        self.assertEqual(read(self.app.pad_file(2)), b'kept safe')
        holder.wait(60)
        wait_until(lambda: read(self.app.pad_file(2)) == b'new', 20, what='the pad saved')
        self.assertIn(b'kept safe', self.app.history(2).values())

    def test_a_value_that_is_no_text_goes_to_the_history_before_a_key(self):
        self.app.wine('reg', 'add', r'HKCU\Software\VB and VBA Program Settings\Vorn Notes\Data',
                      '/v', '3', '/t', 'REG_DWORD', '/d', '42', '/f')
        self.app.start()
        self.app.show()
        self.app.focus_pad(3)
        self.assertTrue(self.app.probe('status')['panel1'].startswith('Doc #3 could not be read'))
        self.desktop.type('y')
        wait_until(lambda: self.app.registry('Data').get('3') == 'y', 10, what='pad 3 stored')
        kept = self.app.history(3)
        self.assertEqual([name.split('.')[-1] for name in kept], ['value-4'])
        self.assertEqual(list(kept.values()), [b'\x2a\x00\x00\x00'])

    def test_a_binary_pad_file_shows_every_byte_and_goes_to_the_history_before_a_key(self):
        binary = bytes((i * 7919 + 13) % 256 for i in range(4096))
        self.write_pad(4, binary)
        self.app.set_setting('Reg', '0')
        self.app.start()
        self.assertGreater(len(self.app.pad_text(4)), 4000)
        self.app.show()
        self.app.focus_pad(4)
        self.desktop.type('z')
        wait_until(lambda: read(self.app.pad_file(4)).endswith(b'z'), 10, what='pad 4 stored')
        self.assertEqual(list(self.app.history(4).values()), [binary])

    def test_text_is_read_whole_whatever_its_encoding(self):
        self.write_pad(1, b'before\x00after')
        self.write_pad(2, 'UTF-16 without a mark'.encode('utf-16-le'))
        self.write_pad(3, 'Grüße'.encode('utf-8') + b' \xff end')
        self.app.set_setting('Reg', '0')
        self.app.start()
        self.assertEqual(self.app.pad_text(1), 'before\ufffdafter')
        self.assertEqual(self.app.pad_text(2), 'UTF-16 without a mark')
        self.assertEqual(self.app.pad_text(3), 'Grüße \ufffd end')

    def test_switching_the_store_then_a_kill_shows_the_same_text(self):
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        self.desktop.type('one')
        self.app.focus_pad(4)
        self.desktop.type('four')
        wait_until(lambda: self.app.registry('Data') == {'1': 'one', '4': 'four'}, 10, what='Data')
        self.app.click_control('Store in &Registry')
        wait_until(lambda: self.app.registry('Setting').get('Reg') == '0', 10, what='Reg stored')
        self.assertEqual(read(self.app.pad_file(1)), b'one')
        self.assertEqual(read(self.app.pad_file(4)), b'four')
        os.kill(self.app.proc.pid, signal.SIGKILL)
        self.app.wait_exit()
        self.app.start()
        self.assertEqual(self.app.control('Store in &Registry')['check'], 0)
        self.assertEqual((self.app.pad_text(1), self.app.pad_text(4)), ('one', 'four'))


class FailedSaves(ProgramTest):
    def test_a_folder_that_cannot_be_written_to_loses_no_key_and_says_so_once(self):
        self.app.set_setting('Reg', '0')
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        subprocess.run(['chattr', '+i', self.app.folder], check=True)
        self.addCleanup(subprocess.run, ['chattr', '-i', self.app.folder])
        alerts = self.app.listen_for_alerts()
        self.desktop.type(SENTENCE)
        box = wait_until(self.app.dialogs, 10, what='the Ooops message')
        # The message does not take the keyboard: a screen reader is told of it.
        self.assertEqual(alerts(), ['Ooops...'])
        wait_until(lambda: self.app.pad_text(1) == SENTENCE, 10, what='every key in the pad')
        self.assertEqual(len(self.app.dialogs()), 1)
        self.assertEqual(box[0]['title'], 'Ooops...')
        self.assertIn('Doc #1, file ', ' '.join(box[0]['texts']))
        self.assertIn('cannot be written to', ' '.join(box[0]['texts']))
        self.assertTrue(self.app.probe('status')['panel1'].startswith('Doc #1 is not saved'))
        self.assertFalse(os.path.exists(self.app.pad_file(1)))
        subprocess.run(['chattr', '-i', self.app.folder], check=True)
        wait_until(lambda: os.path.exists(self.app.pad_file(1)) and
                   read(self.app.pad_file(1)) == SENTENCE.encode(), 15, what='the pad saved')
        self.assertEqual(len(self.app.dialogs()), 1)
        self.app.click_dialog_button('OK')
        wait_until(lambda: not self.app.dialogs(), 10, what='the message closed')
        self.assertEqual(self.app.probe('status')['panel1'], '')


class ChangedElsewhere(ProgramTest):
    def write_pad_file(self, text):
        with open(self.app.pad_file(3), 'wb') as f:
            f.write(text)

    def test_a_pad_file_another_program_rewrites_is_taken_in_and_no_text_is_lost(self):
        self.app.set_setting('Reg', '0')
        self.write_pad_file(b'shopping\r\nbread\r\n')
        self.app.start()
        self.app.show()
        self.app.click_tab(3)
        # Nothing typed here: the pad shows the new text, and says so.
        self.write_pad_file(b'shopping\r\nbread\r\nmilk\r\n')
        wait_until(lambda: self.app.pad_text(3) == 'shopping\r\nbread\r\nmilk\r\n', 5,
                   what='the new text shown')
        self.assertEqual(self.app.probe('status')['panel1'],
                         'Doc #3 was changed elsewhere; Ctrl+H has the text before.')
        # Rewritten twice, each time just before a key here: both texts are kept.
        self.app.focus_pad(3)
        for rewrite in (b'first rewrite', b'second rewrite'):
            self.write_pad_file(rewrite)
            self.desktop.type('!')
            wait_until(lambda: read(self.app.pad_file(3)) == self.app.pad_text(3).encode(), 10,
                       what='the pad stored as it shows')
            # The next rewrite comes later than the file system's clock tick of this save: a
            # rewrite of the same size within it looks to the cheap check like no change.
            time.sleep(0.1)
        # Each rewrite is merged into the pad or kept in its history, as is what it showed.
        everything = self.app.pad_text(3).encode() + b'|'.join(self.app.history(3).values())
        for text in (b'milk', b'first rewrite', b'second rewrite'):
            self.assertIn(text, everything)
        self.assertEqual(self.app.pad_text(3).count('!'), 2)

    def test_a_value_imported_into_the_registry_is_taken_in(self):
        self.app.set_setting('3', 'alpha', section='Data')
        self.app.start()
        self.app.show()
        self.app.click_tab(3)
        def import_value(data):
            with open(self.app.unix_path('C:\\changes.reg'), 'w') as f:
                f.write('REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\VB and VBA Program '
                        'Settings\\Vorn Notes\\Data]\n"3"=%s\n' % data)
            self.app.wine('reg', 'import', 'C:\\changes.reg')
        import_value('"beta"')
        wait_until(lambda: self.app.pad_text(3) == 'beta', 5, what='the new value shown')
        # Turned into bytes (REG_BINARY) elsewhere: nothing to show, but its bytes go to the
        # history before a key replaces them, where their text can be read.
        import_value('hex:67,00,61,00,6d,00,6d,00,61,00')
        time.sleep(1)
        self.app.focus_pad(3)
        self.desktop.type('!')
        wait_until(lambda: self.app.registry('Data').get('3') == 'beta!', 10, what='the key stored')
        kept = [data for name, data in self.app.history(3).items() if name.endswith('.value-3')]
        self.assertEqual(kept, ['gamma'.encode('utf-16-le')])

    def test_a_burst_of_outside_writes_ends_with_the_last_one_shown(self):
        self.app.set_setting('Reg', '0')
        self.write_pad_file(b'burst start')
        self.app.start()
        self.app.show()
        self.app.click_tab(3)
        # Writes of the same length in quick succession: some share their last-write time.
        for i in range(150):
            self.write_pad_file(b'burst %03d' % i)
        wait_until(lambda: self.app.pad_text(3) == 'burst 149', 10, what='the last write shown')
        time.sleep(1)
        self.assertEqual(read(self.app.pad_file(3)), b'burst 149')

    def test_an_editor_that_empties_a_file_before_it_writes_loses_nothing(self):
        self.app.set_setting('Reg', '0')
        os.makedirs(self.app.unix_path('C:\\Sync'))
        for folder, name in (('', '~tmp3.tmp'), ('C:\\Sync', 'Doc 3.txt')):
            with self.subTest(folder=folder or 'the program\'s'):
                self.app.set_setting('Folder', folder)
                path = (folder or PROGRAM_DIR) + '\\' + name
                unix = self.app.unix_path(path)
                with open(unix, 'wb') as f:
                    f.write(b'list\r\n')
                self.app.start()
                self.app.show()
                self.app.click_tab(3)
                # Left alone: the editor's text shows and stays in the file.
                self.app.rewrite(path, b'list\r\nfrom the editor\r\n', 500)
                wait_until(lambda: self.app.pad_text(3) == 'list\r\nfrom the editor\r\n', 10,
                           what='the editor\'s text shown')
                time.sleep(2)
                self.assertEqual(read(unix), b'list\r\nfrom the editor\r\n')
                # Typed into while the editor saves again: both texts are in the pad or its
                # history, and the file ends as the pad shows.
                self.app.focus_pad(3)
                editor = self.app.rewrite(path, b'list\r\nfrom the editor\r\nagain\r\n', 700,
                                          wait=False)
                for word in ('typed ', 'here ', 'meanwhile'):
                    self.desktop.type(word)
                    time.sleep(0.4)
                editor.wait(60)
                wait_until(lambda: read(unix) == self.app.pad_text(3).encode(), 20,
                           what='the pad stored as it shows')
                everything = self.app.pad_text(3).encode() + b'|'.join(
                    self.app.history(3).values())
                for text in (b'again', b'typed here meanwhile'):
                    self.assertIn(text, everything)
                self.app.stop()


class UnexpectedErrors(ProgramTest):
    def test_a_pad_the_system_will_not_make_is_told_and_the_program_goes_on(self):
        # Without the rich-edit libraries no pad can have its control.
        self.app.env['WINEDLLOVERRIDES'] += ';msftedit,riched20=d'
        self.app.start(look_at_pads=False)
        self.app.show()
        notice = wait_until(self.app.dialogs, 10, what='the notice')
        self.assertEqual(len(notice), 1)
        self.assertIn('Vorn Notes met an error it did not expect: a window of the class RichEdit',
                      notice[0]['texts'][0])
        # The keys that make a pad's control from outside any window procedure.
        self.desktop.key('ctrl+2')
        self.desktop.key('F3')
        self.app.click_tab(3)
        self.assertTrue(self.app.running())
        self.app.click_control(text='&End')
        self.assertEqual(self.app.wait_exit(), 0)
        self.assertEqual(self.app.registry('Setting')['Reg'], '1')


if __name__ == '__main__':
    unittest.main()
