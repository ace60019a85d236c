"""Large pads: the program answers at once while their text goes into the controls in pieces,
and every pad ends up holding exactly its stored text."""
import os
import unittest

from harness import ProgramTest, wait_until

# A text that a careless cut into pieces would change: a pair of surrogates across the first
# piece's end (at unit 16,384 of lines of 131 units), CRs alone or followed by an LF, the
# control's soft break CR CR LF, a run of CRs with more lines than a piece may have. Lines stay
# short: the control's time for one line grows with the square of its length.
TRICKY = ''.join([
    'z' + ('a' + '\U0001F642' * 64 + '\r\n') * 130,
    'x\n' * 300,
    'y\r' * 300,
    'a\r\r\nb' * 300,
    '\n\r' * 300,
    '\r' * 2000 + '\n',
    'Grüße, 東京\r\n' * 3000,
    'end',
])


def first_difference(got, want):
    """Where two long texts part (a plain diff of texts this size takes too long)."""
    at = next((i for i, (a, b) in enumerate(zip(got, want)) if a != b), min(len(got), len(want)))
    return 'lengths %d and %d, first difference at %d: %r against %r' % (
        len(got), len(want), at, got[at:at + 20], want[at:at + 20])


def read_bytes(path):
    with open(path, 'rb') as f:
        return f.read()


class LargePads(ProgramTest):
    def write_pad(self, n, text, encoding='utf-8'):
        with open(self.app.pad_file(n), 'wb') as f:
            f.write(text.encode(encoding))

    def test_a_pad_filled_in_pieces_holds_what_the_control_makes_of_the_whole_text(self):
        self.write_pad(4, TRICKY)
        reference = os.path.join(self.app.unix_path('C:\\'), 'reference.txt')
        with open(reference, 'wb') as f:
            f.write(TRICKY.encode('utf-8'))
        want = self.app.oneshot_text('C:\\reference.txt')
        self.assertGreater(len(want.encode('utf-16-le')) // 2, 3 * 16384)  # several pieces
        self.app.set_setting('Reg', '0')
        # Read once while the pads may still be filling, and again when they are done.
        self.app.start(look_at_pads=False)
        got = self.app.pad_text(4)
        self.assertTrue(got == want, first_difference(got, want))
        self.app.stop()
        self.app.start(look_at_pads=False)
        self.app.show()
        self.app.click_tab(4)
        got = self.app.pad_text(4)
        self.assertTrue(got == want, first_difference(got, want))

    def test_typing_into_a_large_pad_right_after_start_keeps_all_its_text(self):
        big = ('0123456789 Grüße ' * 6 + '\r\n') * 5000  # about 520 KB
        legacy = 'Grüße aus der alten Datei'
        for n in (1, 2, 3):
            self.write_pad(n, '%d\r\n' % n + big)
        self.write_pad(5, legacy, 'cp1252')  # rewritten only when the pad changes
        self.app.set_setting('Reg', '0')
        self.app.start(look_at_pads=False)
        # Show the window from the icon and type at once, without looking at the pads first.
        self.app.show()
        self.desktop.key('ctrl+End')
        self.desktop.type('!')
        path = self.app.pad_file(1)
        wait_until(lambda: read_bytes(path).endswith(b'!'), 20, what='the typed character')
        self.assertEqual(read_bytes(path).decode('utf-8'), '1\r\n' + big + '!')
        self.assertEqual(self.app.pad_text(1), '1\r\n' + big + '!')  # stored as shown
        # The other pads were filled without a write of their own.
        self.assertEqual(self.app.pad_text(3), '3\r\n' + big)
        self.assertEqual(read_bytes(self.app.pad_file(2)), ('2\r\n' + big).encode('utf-8'))
        self.assertEqual(read_bytes(self.app.pad_file(5)), legacy.encode('cp1252'))
        self.assertEqual(self.app.pad_text(5), legacy)
        self.assertEqual(self.app.dialogs(), [])

    def test_a_long_paragraph_opens_and_takes_a_key_in_both_stores(self):
        # One e-mail's worth of prose in one paragraph: the pad wraps it.
        paragraph = ' '.join('word%d' % i for i in range(700))[:4000]
        self.app.set_setting('2', paragraph, section='Data')
        self.app.start()
        self.app.show()
        self.app.focus_pad(2)
        self.desktop.type('!')
        wait_until(lambda: self.app.registry('Data').get('2') == paragraph + '!', 20,
                   what='the key stored in the registry')
        self.app.click_control('Store in &Registry')  # every pad goes to its file
        wait_until(lambda: self.app.registry('Setting').get('Reg') == '0', 20, what='pad files')
        self.app.focus_pad(2)
        self.desktop.type('?')
        wait_until(lambda: read_bytes(self.app.pad_file(2)) == (paragraph + '!?').encode(), 20,
                   what='the key stored in the file')
        self.assertEqual(self.app.pad_text(2), paragraph + '!?')
        self.assertEqual(self.app.dialogs(), [])

    def write_elsewhere(self, n, data):
        """Another program writes the pad's file anew, as sync services do: beside it, then
        renamed over it."""
        fresh = self.app.pad_file(n) + '.sync'
        with open(fresh, 'wb') as f:
            f.write(data)
        os.replace(fresh, self.app.pad_file(n))

    def test_changes_from_elsewhere_come_in_with_the_window_answering(self):
        lines = ['line %06d of a long note written on the other computer\r\n' % i
                 for i in range(18000)]  # about 1 MB
        text = ''.join(lines)
        self.write_pad(2, text)
        self.app.set_setting('Reg', '0')
        self.app.start()
        self.app.show()
        self.app.click_tab(2)
        self.assertEqual(self.app.pad_text(2), text)
        # A line changed, then the whole text: shown in seconds, the window answering throughout.
        # (The pad is read after each: a read waits for all of its text to be in.)
        changed = text.replace('line 009000 of', 'LINE 009000, CHANGED, of')
        other = ''.join(reversed(lines))
        for new in (changed, other):
            longest = self.app.answers(5000)
            self.write_elsewhere(2, new.encode())
            self.assertLess(longest(), 1000)
            self.assertTrue(self.app.pad_text(2) == new, first_difference(self.app.pad_text(2), new))
        self.assertEqual(read_bytes(self.app.pad_file(2)), other.encode())

    def test_a_text_too_long_to_edit_from_elsewhere_keeps_what_was_typed(self):
        self.app.set_setting('Reg', '0')
        self.app.start()
        self.app.show()
        self.app.focus_pad(3)
        self.desktop.type('typed before')
        wait_until(lambda: read_bytes(self.app.pad_file(3)) == b'typed before', 10,
                   what='the typing stored')
        # More than a pad edits (16,777,216 characters): shown read-only, and what it showed
        # is kept; the file stays the other program's. (The pads' controls are not read here:
        # a probe's read would wait for the whole text to go in.)
        huge = ('x' * 199 + '\n') * 86000
        self.write_elsewhere(3, huge.encode())
        wait_until(lambda: self.app.probe('status')['panel1'].startswith('Doc #3 is read-only'),
                   30, what='the pad read-only')
        self.assertIn(b'typed before', self.app.history(3).values())
        self.app.wine('taskkill', '/IM', 'VornNotes.exe', check=False)
        self.app.wait_exit(60)
        self.assertTrue(read_bytes(self.app.pad_file(3)) == huge.encode())

    def test_ending_while_the_pads_fill_writes_nothing(self):
        big = 'line of a large pad\r\n' * 20000
        for n in range(1, 10):
            self.write_pad(n, '%d: ' % n + big)
        self.write_pad(10, 'Grüße aus der alten Datei', 'cp1252')
        before = {name: read_bytes(os.path.join(self.app.folder, name))
                  for name in os.listdir(self.app.folder)}
        self.app.set_setting('Reg', '0')
        self.app.start(look_at_pads=False)
        self.app.wine('taskkill', '/IM', 'VornNotes.exe', check=False)
        self.app.wait_exit()
        after = {name: read_bytes(os.path.join(self.app.folder, name))
                 for name in os.listdir(self.app.folder)}
        self.assertEqual(after.keys(), before.keys())
        for name in before:
            self.assertEqual(after[name], before[name], name)
        self.assertEqual(self.app.registry('Data'), {})


if __name__ == '__main__':
    unittest.main()
