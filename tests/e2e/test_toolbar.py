"""Pad switching with the character count, and the toolbar's print, cut, copy and paste."""
import time
import unittest

from harness import ProgramTest, ids, pad_id, wait_until


def panel1(app):
    return app.probe('status')['panel1']


class PadSwitching(ProgramTest):
    def test_a_tab_click_shows_that_pad_alone_and_a_snapshot_of_its_length(self):
        self.app.set_setting('3', 'three\r\nlines\r\nhere', section='Data')
        self.app.start()
        self.app.show()
        self.assertEqual(panel1(self.app), '')  # empty until the first tab click
        self.app.click_tab(3)
        visible = [(c['id'], c['front']) for c in self.app.controls()
                   if 'RichEdit' in c['class'] and c['visible']]
        self.assertEqual(visible, [(pad_id(3), 1)])  # in front of the tab strip
        self.assertEqual(panel1(self.app), '18 characters')
        self.app.focus_pad(3)
        self.desktop.type('0123456789')
        wait_until(lambda: self.app.pad_text(3).endswith('9'), 5, what='typing')
        self.assertEqual(panel1(self.app), '18 characters')  # a snapshot
        self.app.click_tab(1)
        self.assertEqual(panel1(self.app), '0 characters')
        self.app.click_tab(3)
        self.assertEqual(panel1(self.app), '28 characters')
        self.app.click_tab(10)
        self.assertEqual([c['id'] for c in self.app.controls()
                          if 'RichEdit' in c['class'] and c['visible']], [pad_id(10)])


    def test_keys_go_to_the_pads_as_tab_clicks_do_and_change_no_text(self):
        self.app.set_setting('7', 'seven', section='Data')
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)

        def at(n):
            wait_until(lambda: self.app.probe('tabs')['selected'] == n - 1, 5, what='pad %d' % n)
            visible = [c['id'] for c in self.app.controls()
                       if 'RichEdit' in c['class'] and c['visible']]
            self.assertEqual(visible, [pad_id(n)])

        self.desktop.key('ctrl+7')
        at(7)
        self.assertEqual(panel1(self.app), '5 characters')
        self.desktop.key('ctrl+Tab')
        at(8)
        self.desktop.key('ctrl+shift+Tab')
        at(7)
        for _ in range(7):
            self.desktop.key('ctrl+Prior')
        at(10)  # round the start
        self.desktop.key('ctrl+Next')
        at(1)
        self.desktop.key('ctrl+0')
        at(10)
        for key in ('ctrl+1', 'ctrl+2', 'ctrl+5'):
            self.desktop.key(key)
        at(5)
        self.desktop.type('x')  # the keyboard stayed in the pads
        wait_until(lambda: self.app.registry('Data').get('5') == 'x', 5, what='typing in pad 5')
        self.assertEqual(self.app.registry('Data'), {'5': 'x', '7': 'seven'})


class Finding(ProgramTest):
    def find_window(self):
        return next((w for w in self.app.windows()['windows']
                     if w['class'] == ids.kFindWindowClass and w['visible']), None)

    def find(self, text):
        self.desktop.key('ctrl+f')
        wait_until(self.find_window, 10, what='the Find window')
        self.desktop.type(text)  # over the text it opens with, which is selected
        self.desktop.key('Return')

    def at(self, n):
        wait_until(lambda: self.app.probe('tabs')['selected'] == n - 1, 10, what='pad %d' % n)

    def test_find_goes_through_the_pads_round_the_end_and_says_when_nothing_matches(self):
        self.app.set_setting('1', 'a pin at the start', section='Data')
        self.app.set_setting('7', 'line one\r\nfind the needle here', section='Data')
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        self.find('NEEDLE')  # "Match case" is off
        self.at(7)
        self.assertEqual(panel1(self.app), '30 characters')  # as a tab click does
        self.desktop.key('Escape')  # closes the Find window; the match is still selected
        wait_until(lambda: not self.find_window(), 10, what='the Find window closed')
        self.desktop.type('pin')
        wait_until(lambda: self.app.registry('Data').get('7') == 'line one\r\nfind the pin here',
                   10, what='the match typed over')
        self.find('pin')  # from the caret after it: round the end to Doc #1
        self.at(1)
        self.desktop.key('Escape')
        self.desktop.key('F3')
        self.at(7)
        self.desktop.key('shift+F3')
        self.at(1)
        self.find('haystack')
        box = wait_until(lambda: self.app.dialogs(), 10, what='the message')
        self.assertEqual(box[0]['title'], 'Vorn Notes')
        self.assertIn('Cannot find "haystack".', box[0]['texts'])
        self.desktop.key('Return')
        wait_until(lambda: not self.app.dialogs(), 10, what='the message closed')
        self.assertEqual(self.app.registry('Data'),
                         {'1': 'a pin at the start', '7': 'line one\r\nfind the pin here'})


class ClipboardCommands(ProgramTest):
    def setUp(self):
        super().setUp()
        self.app.set_setting('2', 'Hello, world', section='Data')
        self.app.start()
        self.app.show()
        self.app.focus_pad(2)  # the caret at the end

    def stored(self):
        return self.app.registry('Data').get('2')

    def test_copy_takes_the_selection_or_the_whole_text(self):
        self.desktop.key('shift+Left', 'shift+Left', 'shift+Left')
        self.app.click_toolbar('copy')
        wait_until(lambda: self.desktop.clipboard() == 'rld', 5, what='the selection copied')
        self.desktop.key('End')
        self.app.click_toolbar('copy')
        wait_until(lambda: self.desktop.clipboard() == 'Hello, world', 5, what='the whole text')
        self.assertEqual(self.app.pad_text(2), 'Hello, world')

    def test_cut_with_and_without_a_selection(self):
        self.app.click_toolbar('cut')  # nothing selected: copies the whole pad, removes nothing
        wait_until(lambda: self.desktop.clipboard() == 'Hello, world', 5, what='the whole text')
        self.assertEqual(self.app.pad_text(2), 'Hello, world')
        self.desktop.key('shift+Left', 'shift+Left', 'shift+Left', 'shift+Left', 'shift+Left',
                         'shift+Left', 'shift+Left')
        self.app.click_toolbar('cut')
        wait_until(lambda: self.desktop.clipboard() == ', world', 5, what='the selection cut')
        self.assertEqual(self.app.pad_text(2), 'Hello')
        wait_until(lambda: self.stored() == 'Hello', 5, what='the cut pad stored')

    def test_paste_inserts_text_and_an_empty_clipboard_changes_nothing(self):
        self.desktop.offer_clipboard('Grüße 🙂')
        self.app.click_toolbar('paste')
        wait_until(lambda: self.app.pad_text(2) == 'Hello, worldGrüße 🙂', 5, what='pasted')
        wait_until(lambda: self.stored() == 'Hello, worldGrüße 🙂', 5, what='stored')
        self.desktop.offer_clipboard(b'\x89PNG\r\n', target='image/png')
        self.app.click_toolbar('paste')
        time.sleep(1)
        self.assertEqual(self.app.pad_text(2), 'Hello, worldGrüße 🙂')
        self.assertEqual(self.app.dialogs(), [])

    def test_paste_keys_insert_at_the_caret_and_the_store_follows_the_pad(self):
        self.desktop.offer_clipboard(' and more')
        self.desktop.key('ctrl+v')
        wait_until(lambda: self.stored() == 'Hello, world and more', 5, what='Ctrl+V at the end')
        self.desktop.key('ctrl+Home')
        self.desktop.key('shift+Insert')
        wait_until(lambda: self.stored() == ' and moreHello, world and more', 5,
                   what='Shift+Insert at the start')
        # Pasted over the whole pad: a text that differs from it only far from the caret.
        monday = 'Plan for Monday: ' + 'all day ' * 20 + '\r\nSecond paragraph.'
        friday = monday.replace('Monday', 'Friday')
        self.desktop.offer_clipboard(monday)
        self.desktop.key('ctrl+a', 'ctrl+v')
        wait_until(lambda: self.stored() == monday, 5, what='Monday pasted')
        self.desktop.offer_clipboard(friday)
        self.desktop.key('ctrl+a', 'ctrl+v')
        self.desktop.type('.')
        wait_until(lambda: self.stored() == friday + '.', 5, what='Friday pasted and typed after')
        self.assertEqual(self.app.pad_text(2), friday + '.')

    def test_the_edit_menu_edits_as_the_keys_do(self):
        def menu_open():
            return any(w['class'] == '#32768' for w in self.app.windows()['windows'])

        def choose(open_menu, access_key):
            open_menu()
            wait_until(menu_open, 5, what='the edit menu')
            self.desktop.key(access_key)
            wait_until(lambda: not menu_open(), 5, what='the menu closed')

        pad = self.app.pad(2)['screen']
        right_click = lambda: self.desktop.click((pad[0] + pad[2]) // 2, (pad[1] + pad[3]) // 2, 3)
        choose(right_click, 'a')  # Select All
        choose(right_click, 't')  # Cut
        wait_until(lambda: self.stored() == '', 5, what='the cut pad stored')
        self.assertEqual(self.desktop.clipboard(), 'Hello, world')
        choose(lambda: self.desktop.key('shift+F10'), 'p')  # Paste
        wait_until(lambda: self.stored() == 'Hello, world', 5, what='pasted')
        choose(lambda: self.desktop.key('Menu'), 'u')  # Undo
        wait_until(lambda: self.stored() == '', 5, what='the paste undone')


class Printing(ProgramTest):
    printer = True

    def test_print_sends_the_header_rule_and_the_text_or_the_selection(self):
        self.app.set_setting('1', 'first line\r\nsecond line', section='Data')
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        self.app.click_toolbar('print')
        pdf = self.printer.wait_pdfs(1)[0]
        text = self.printer.text(pdf)
        self.assertEqual(text.split()[:2], ['Page', '#1'])
        self.assertIn('first line', text)
        self.assertIn('second line', text)
        # A selection alone, with Ctrl+P; and every print is a document of its own that says
        # "Page #1".
        self.desktop.key('shift+Home')
        self.desktop.key('ctrl+p')
        pdfs = self.printer.wait_pdfs(2)
        text = self.printer.text(pdfs[1])
        self.assertIn('Page #1', text)
        self.assertIn('second line', text)
        self.assertNotIn('first line', text)

    def test_long_lines_wrap_and_long_texts_go_on_to_further_pages(self):
        words = ' '.join('word%03d' % i for i in range(120))
        lines = '\r\n'.join('line %03d' % i for i in range(150))
        self.app.set_setting('1', words + '\r\n' + lines, section='Data')
        self.app.start()
        self.app.show()
        self.app.click_toolbar('print')
        pdf = self.printer.wait_pdfs(1)[0]
        text = self.printer.text(pdf)
        self.assertGreater(self.printer.pages(pdf), 1)
        self.assertEqual(text.count('Page #1'), 1)  # the header is on the first page only
        for i in range(120):
            self.assertIn('word%03d' % i, text)
        for i in range(150):
            self.assertIn('line %03d' % i, text)

    def test_an_empty_pad_prints_a_page_with_the_header(self):
        self.app.start()
        self.app.show()
        self.app.click_toolbar('print')
        pdf = self.printer.wait_pdfs(1)[0]
        self.assertEqual(self.printer.text(pdf).split(), ['Page', '#1'])


class NoPrinter(ProgramTest):
    printer = False  # a print server with no printer at all

    def test_print_without_a_printer_says_so_and_the_program_goes_on(self):
        self.app.set_setting('1', 'keep me', section='Data')
        self.app.start()
        self.app.show()
        self.app.click_toolbar('print')
        box = wait_until(self.app.dialogs, 15, what='the message')
        self.assertIn('printer', ' '.join(box[0]['texts']).lower())
        self.desktop.key('Return')
        wait_until(lambda: not self.app.dialogs(), 10, what='the message to close')
        self.assertTrue(self.app.running())
        self.assertEqual(self.app.pad_text(1), 'keep me')


if __name__ == '__main__':
    unittest.main()
