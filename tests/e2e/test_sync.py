"""Your notes on two computers: two Wine prefixes, each with its own display and its own Vorn
Notes, keep their pads in a folder that a real sync engine (two syncthing instances on this
machine) keeps alike between them."""
import glob
import os
import time
import unittest

from desktop import Desktop
from harness import Program, ProgramTest, wait_until
from sync_pair import SyncPair

FOLDER = 'C:\\Sync'


def read_or_none(path):
    try:
        with open(path, 'rb') as f:
            return f.read()
    except FileNotFoundError:
        return None


class TwoComputers(ProgramTest):
    def setUp(self):
        super().setUp()
        os.makedirs(os.path.join(self.work, 'laptop'))
        self.laptop_desktop = Desktop()
        self.addCleanup(self.laptop_desktop.stop)
        self.laptop = Program(self.laptop_desktop, os.path.join(self.work, 'laptop'))
        self.addCleanup(self.laptop.stop)
        self.computers = (self.app, self.laptop)
        for app in self.computers:
            os.makedirs(app.unix_path(FOLDER))
            app.set_setting('Reg', '0')
            app.set_setting('Folder', FOLDER)
        self.sync = SyncPair(self.work, self.app.unix_path(FOLDER),
                             self.laptop.unix_path(FOLDER))
        self.addCleanup(self.sync.stop)
        for app in self.computers:
            app.start()
            app.show()

    def focus(self, app, pad):
        """The caret at the end of the pad, once the notices over the window are read (a notice
        that comes meanwhile may take the click: it is read, and the pad clicked again)."""
        def in_pad():
            app.close_notices()
            app.focus_pad(pad)
            return app.notes_window()['focus'] == app.pad(pad)['hwnd']
        wait_until(in_pad, 30, what='the caret in Doc #%d' % pad)

    def type_in(self, app, pad, keys, at_start=False):
        self.focus(app, pad)
        if at_start:
            app.desktop.key('ctrl+Home')
        for i, line in enumerate(keys.split('\n')):
            if i:
                app.desktop.key('Return')
            app.desktop.type(line)

    def everywhere(self, pad, text, what):
        try:
            wait_until(lambda: all(app.pad_text(pad) == text for app in self.computers), 60,
                       interval=0.5, what=what)
        except AssertionError as e:
            raise AssertionError('%s: the pads show %r, the files hold %r' % (e, [
                app.pad_text(pad) for app in self.computers], [
                read_or_none(app.unix_path(FOLDER + '\\Doc %d.txt' % pad))
                for app in self.computers])) from None

    def kept_on(self, app, pad):
        """What the pad shows and every version in its history, as one text."""
        return app.pad_text(pad).encode() + b'|'.join(app.history(pad).values())

    def test_notes_follow_their_user_and_edits_made_apart_meet(self):
        # Typed on one computer, shown on the other without a key pressed there, and back.
        self.type_in(self.app, 1, 'from the desk')
        typed = time.time()
        self.everywhere(1, 'from the desk', 'the desk\'s text on the laptop')
        print('\nfrom the desk to the laptop\'s screen: %.1f s' % (time.time() - typed))
        self.type_in(self.laptop, 1, ', and the laptop')
        self.everywhere(1, 'from the desk, and the laptop', 'the laptop\'s text on the desk')

        # Different lines of one pad edited while the computers cannot reach each other: once
        # they can, both edits are on both.
        self.type_in(self.app, 2, 'one\ntwo\nthree')
        self.everywhere(2, 'one\r\ntwo\r\nthree', 'the list on both')
        self.sync.pause()
        self.type_in(self.app, 2, 'ONE ', at_start=True)
        self.type_in(self.laptop, 2, ' THREE')
        self.sync.resume()
        self.everywhere(2, 'ONE one\r\ntwo\r\nthree THREE', 'both edits on both')

        # The same line edited apart: the sync service keeps one text (and may leave a copy of
        # the other); each computer keeps what was typed on it and the kept text, in the pad or
        # its history, and no copy is left in the folder.
        self.sync.pause()
        self.type_in(self.app, 3, 'desk line')
        self.type_in(self.laptop, 3, 'laptop line')
        self.sync.resume()
        files = [os.path.join(app.unix_path(FOLDER), 'Doc 3.txt') for app in self.computers]
        # (A sync service puts a file in place by renames: for a moment it may be missing.)
        try:
            wait_until(lambda: len({read_or_none(f) for f in files}) == 1 and None not in
                       {read_or_none(f) for f in files} and
                       not any(glob.glob(os.path.join(app.unix_path(FOLDER), 'Doc 3*conflict*'))
                               for app in self.computers), 60, interval=0.5,
                       what='one Doc 3.txt on both and no copy left')
        except AssertionError as e:
            raise AssertionError('%s: the folders hold %r' % (e, [
                {n: read_or_none(os.path.join(app.unix_path(FOLDER), n))
                 for n in os.listdir(app.unix_path(FOLDER)) if n.startswith('Doc 3')}
                for app in self.computers])) from None
        kept = read_or_none(files[0])
        for app, own in zip(self.computers, (b'desk line', b'laptop line')):
            try:
                wait_until(lambda: own in self.kept_on(app, 3) and kept in self.kept_on(app, 3), 30,
                           interval=0.5, what='both kept')
            except AssertionError as e:
                raise AssertionError('%s on %s: %r' % (e, app.prefix, self.kept_on(app, 3)))

    def keep_typing(self, app, pad, prefix, seconds, words):
        """Types words `prefix`001, 002, ... at the end of the pad's line the caret is on, for
        `seconds`, as a person does; appends each word typed to `words`."""
        end = time.time() + seconds
        while time.time() < end:
            word = '%s%03d' % (prefix, len(words) + 1)
            app.desktop.type(' ' + word)
            words.append(word)
            time.sleep(0.3)

    def everything_on(self, pad):
        return b'|'.join(self.kept_on(app, pad) for app in self.computers)

    def test_both_typing_at_once_keeps_every_word_and_the_files_keep_up(self):
        import threading
        # Each on a line of its own: both lines reach both pads, again and again.
        self.type_in(self.app, 4, 'desk:\n\nlaptop:')
        self.everywhere(4, 'desk:\r\n\r\nlaptop:', 'the lines on both')
        self.focus(self.app, 4)
        self.app.desktop.key('ctrl+Home', 'End')
        self.focus(self.laptop, 4)
        desk, laptop = [], []
        other = threading.Thread(target=self.keep_typing, args=(self.laptop, 4, 'l', 30, laptop))
        other.start()
        self.keep_typing(self.app, 4, 'd', 30, desk)
        other.join()
        expected = 'desk: ' + ' '.join(desk) + '\r\n\r\nlaptop: ' + ' '.join(laptop)
        self.everywhere(4, expected, 'both lines typed at once on both')

        # On one line, the laptop ended and started again on the way: every word is in a pad
        # or a history on one of the computers, and each pad's file holds what it shows.
        self.type_in(self.app, 5, 'together:')
        self.everywhere(5, 'together:', 'the line on both')
        self.focus(self.app, 5)
        self.focus(self.laptop, 5)
        words = {'d': [], 'l': []}
        def round_of(seconds):
            other = threading.Thread(target=self.keep_typing,
                                     args=(self.laptop, 5, 'L', seconds, words['l']))
            other.start()
            self.keep_typing(self.app, 5, 'D', seconds, words['d'])
            other.join()
        round_of(15)
        self.laptop.click_control('&End')
        self.laptop.wait_exit()
        self.laptop.start()
        self.laptop.show()
        self.focus(self.laptop, 5)
        round_of(15)
        for app in self.computers:
            path = app.unix_path(FOLDER + '\\Doc 5.txt')
            try:
                wait_until(lambda: read_or_none(path) == app.pad_text(5).encode(), 20,
                           what='the file as the pad shows')
            except AssertionError as e:
                raise AssertionError('%s on %s: the pad shows %r, the file holds %r, the status '
                                     'bar says %r' % (e, app.prefix, app.pad_text(5),
                                                      read_or_none(path),
                                                      app.probe('status')['panel1'])) from None
        everything = self.everything_on(5)
        lost = [w for w in words['d'] + words['l'] if w.encode() not in everything]
        self.assertEqual(lost, [])


if __name__ == '__main__':
    unittest.main()
