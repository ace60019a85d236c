"""The window at 100, 150 and 200 % screen scale: the toolbar's pictures drawn for the scale, and
every caption whole, in the notes window and the About window."""
import os
import re
import shutil
import subprocess
import unittest

from harness import ROOT, ProgramTest, ids, wait_until


class Scales(ProgramTest):
    def start_at(self, dpi):
        # Wine takes the screen's resolution from here.
        for key in (r'HKCU\Control Panel\Desktop', r'HKCC\Software\Fonts'):
            self.app.wine('reg', 'add', key, '/v', 'LogPixels', '/t', 'REG_DWORD', '/d', str(dpi),
                          '/f')
        self.app.start()
        self.app.show()

    def picture_width(self):
        """The width of the printer picture on its toolbar button, from a screenshot: the span
        of its dark outline."""
        shot = os.path.join(self.work, 'toolbar.png')
        self.desktop.screenshot(shot)
        l, t, r, b = next(button for button in self.app.probe('toolbar')
                          if button['id'] == ids.kPrintButton)['screen']
        pixels = subprocess.run(['convert', shot, '-crop', '%dx%d+%d+%d' % (r - l, b - t, l, t),
                                 '-depth', '8', 'txt:-'], capture_output=True, text=True,
                                check=True).stdout
        dark = []
        for line in pixels.splitlines():
            m = re.match(r'(\d+),(\d+): \((\d+),(\d+),(\d+)', line)
            if m and sum(map(int, m.groups()[2:])) < 150:
                dark.append(int(m.group(1)))
        return max(dark) - min(dark) + 1

    def check_captions(self):
        for window in (ids.kNotesWindowClass, ids.kAboutWindowClass):
            captions = self.app.probe('captions', window)
            self.assertTrue(captions, window)
            for caption in captions:
                self.assertGreaterEqual(caption['width'], caption['needed'], caption['text'])

    def keep_picture(self, caption, name):
        """A picture of the window for the README, in build/e2e and, asked to, in docs/."""
        shot = os.path.join(ROOT, 'build', 'e2e', name)
        os.makedirs(os.path.dirname(shot), exist_ok=True)
        wid = self.desktop.x(['xdotool', 'search', '--name', '^' + re.escape(caption) + '$'])\
            .stdout.split()[-1]
        self.desktop.x(['import', '-frame', '-window', wid, shot])
        if os.environ.get('VORN_UPDATE_DOCS'):
            shutil.copy(shot, os.path.join(ROOT, 'docs', name))

    def check_scale(self, dpi, side, pictures=False):
        self.start_at(dpi)
        # The printer spans 13 of the picture's 16 units: at the size drawn for this scale.
        self.assertLessEqual(abs(self.picture_width() - 13 * side / 16), 1.5)
        if pictures:
            self.keep_picture('Vorn Notes - by Kalvo', 'notes-window-150.png')
        self.app.click_control('&About')
        wait_until(self.app.about_window, 10, what='the About window')
        self.check_captions()
        if pictures:
            self.keep_picture('About...', 'about-window-150.png')

    def test_at_100_percent(self):
        self.check_scale(96, 16)

    def test_at_150_percent(self):
        self.check_scale(144, 24, pictures=True)

    def test_at_200_percent(self):
        self.check_scale(192, 32)


if __name__ == '__main__':
    unittest.main()
