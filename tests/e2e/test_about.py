"""The About window, its links, and the top-most option."""
import os
import shutil
import time
import unittest

from harness import ProgramTest, ROOT, wait_until

EMAIL = 'kalvo@vorn.example'
WEB = 'https://vorn.example/'
TOPMOST = 0x8


class AboutWindow(ProgramTest):
    def test_one_window_and_a_fresh_one_after_close(self):
        self.app.start()
        self.app.show()
        self.app.click_control('&About')
        about = wait_until(self.app.about_window, 10, what='the About window')
        self.assertEqual(about['title'], 'About...')
        self.app.click_control('&About')
        time.sleep(1)
        self.assertEqual(len(self.app.about_windows()), 1)
        texts = [c['text'] for c in self.app.about_controls()]
        for text in ('Vorn Notes 1.5', '&Email me', '&Web site', '&Close', 'Email: ' + EMAIL,
                     'Web: ' + WEB):
            self.assertIn(text, texts)
        readme = next(c for c in self.app.about_controls() if c['class'] == 'Edit')
        self.assertTrue(readme['text'].startswith('PURPOSE:\r\nStays in system tray bar'))
        self.assertIn('\r\n\r\nDISTRIBUTION NOTE:\r\n', readme['text'])
        self.assertIn('\r\n\r\nREQUEST:\r\n', readme['text'])
        # The picture for the README.
        shot = os.path.join(ROOT, 'build', 'e2e', 'about-window.png')
        os.makedirs(os.path.dirname(shot), exist_ok=True)
        wid = self.desktop.x(['xdotool', 'search', '--name', r'^About\.\.\.$']).stdout.split()[-1]
        self.desktop.x(['import', '-frame', '-window', wid, shot])
        if os.environ.get('VORN_UPDATE_DOCS'):
            shutil.copy(shot, os.path.join(ROOT, 'docs', 'about-window.png'))
        # Edits in the read-me go with the window.
        l, t, r, b = readme['screen']
        self.desktop.click(l + 20, t + 10)
        self.desktop.type('EDITED')
        wait_until(lambda: 'EDITED' in next(c for c in self.app.about_controls()
                                            if c['class'] == 'Edit')['text'], 5, what='the edit')
        self.app.click_about_button('&Close')
        wait_until(lambda: not self.app.about_windows(), 10, what='the window to close')
        self.app.click_control('&About')
        wait_until(self.app.about_window, 10, what='a fresh About window')
        readme = next(c for c in self.app.about_controls() if c['class'] == 'Edit')
        self.assertNotIn('EDITED', readme['text'])
        self.assertTrue(self.app.notes_window()['visible'])

    def test_the_links_reach_the_shell_and_the_window_stays_open(self):
        links = self.app.register_link_handler()
        self.app.start()
        self.app.show()
        self.app.click_control('&About')
        wait_until(self.app.about_window, 10, what='the About window')
        self.app.click_about_button('&Email me')
        wait_until(lambda: os.path.exists(links), 15, what='the mail link')
        self.app.click_about_button('&Web site')
        self.app.click_about_button('&Web site')
        def recorded():
            with open(links) as f:
                return f.read().splitlines()
        wait_until(lambda: len(recorded()) == 3, 15, what='three links')
        self.assertEqual(recorded(), ['mailto:' + EMAIL, WEB, WEB])
        self.assertEqual(len(self.app.about_windows()), 1)

    def test_without_a_mail_program_there_is_no_message_of_the_programs_own(self):
        self.app.wine('reg', 'delete', r'HKCR\mailto', '/f', check=False)
        self.app.start()
        self.app.show()
        self.app.click_control('&About')
        wait_until(self.app.about_window, 10, what='the About window')
        self.app.click_about_button('&Email me')
        time.sleep(2)
        self.assertEqual(self.app.dialogs(), [])
        self.assertEqual(len(self.app.about_windows()), 1)
        self.app.click_about_button('&Close')
        wait_until(lambda: not self.app.about_windows(), 10, what='usable after')


class TopMost(ProgramTest):
    def test_top_toggles_the_z_order_group_without_moving_the_window(self):
        self.app.start()
        shown = self.app.show()
        for expected in (1, 0, 1, 0, 1):
            self.app.click_control('&Top')
            wait_until(lambda: bool(self.app.notes_window()['exstyle'] & TOPMOST) == bool(expected),
                       5, what='top-most %d' % expected)
            w = self.app.notes_window()
            self.assertEqual(w['rect'], shown['rect'])
            self.assertTrue(w['visible'])
            self.assertEqual(self.app.control('&Top')['check'], expected)

    def test_on_top_of_one_at_start_makes_the_window_top_most(self):
        for stored, topmost in (('1', True), ('2', False), ('', False)):
            with self.subTest(stored=stored):
                self.app.set_setting('OnTop', stored)
                self.app.start()
                self.assertFalse(self.app.notes_window()['visible'])
                w = self.app.show()
                self.assertEqual(bool(w['exstyle'] & TOPMOST), topmost)
                self.assertEqual(self.app.control('&Top')['check'], 1 if topmost else 0)
                self.app.wine('taskkill', '/IM', 'VornNotes.exe', check=False)
                self.app.wait_exit()
                self.app.set_setting('OnTop', stored)  # the orderly end wrote it back


if __name__ == '__main__':
    unittest.main()
