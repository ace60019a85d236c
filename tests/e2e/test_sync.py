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

    def type_in(self, app, pad, keys, at_start=False):
        app.focus_pad(pad)
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
                open(app.unix_path(FOLDER + '\\Doc %d.txt' % pad), 'rb').read()
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
        wait_until(lambda: len({open(f, 'rb').read() for f in files}) == 1 and
                   not any(glob.glob(os.path.join(app.unix_path(FOLDER), 'Doc 3*conflict*'))
                           for app in self.computers), 60, interval=0.5,
                   what='one Doc 3.txt on both and no copy left')
        kept = open(files[0], 'rb').read()
        for app, own in zip(self.computers, (b'desk line', b'laptop line')):
            try:
                wait_until(lambda: own in self.kept_on(app, 3) and kept in self.kept_on(app, 3), 30,
                           interval=0.5, what='both kept')
            except AssertionError as e:
                raise AssertionError('%s on %s: %r' % (e, app.prefix, self.kept_on(app, 3)))

if __name__ == '__main__':
    unittest.main()
