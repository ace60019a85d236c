"""The window at 100, 150 and 200 % screen scale: the toolbar's pictures drawn for the scale, and
every caption whole, in the notes window and the About window. Windows' dark app mode, and back
to light while the program runs."""
import os
import re
import shutil
import subprocess
import unittest

from harness import ROOT, ProgramTest, ids, wait_until


def keep_picture(desktop, caption, name):
    """A picture of the window for the README, in build/e2e and, asked to, in docs/."""
    shot = os.path.join(ROOT, 'build', 'e2e', name)
    os.makedirs(os.path.dirname(shot), exist_ok=True)
    wid = desktop.x(['xdotool', 'search', '--name', '^' + re.escape(caption) + '$'])\
        .stdout.split()[-1]
    desktop.x(['import', '-frame', '-window', wid, shot])
    if os.environ.get('VORN_UPDATE_DOCS'):
        shutil.copy(shot, os.path.join(ROOT, 'docs', name))


def pixel(shot, x, y):
    """The (red, green, blue) of one pixel of a screenshot."""
    out = subprocess.run(['convert', shot, '-crop', '1x1+%d+%d' % (x, y), '-depth', '8', 'txt:-'],
                         capture_output=True, text=True, check=True).stdout
    return tuple(map(int, re.search(r'\((\d+),(\d+),(\d+)', out).groups()))


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

    def check_scale(self, dpi, side, pictures=False):
        self.start_at(dpi)
        # The printer spans 13 of the picture's 16 units: at the size drawn for this scale.
        self.assertLessEqual(abs(self.picture_width() - 13 * side / 16), 1.5)
        if pictures:
            keep_picture(self.desktop, 'Vorn Notes - by Kalvo', 'notes-window-150.png')
        self.app.click_control('&About')
        wait_until(self.app.about_window, 10, what='the About window')
        self.check_captions()
        if pictures:
            keep_picture(self.desktop, 'About...', 'about-window-150.png')

    def test_at_100_percent(self):
        self.check_scale(96, 16)

    def test_at_150_percent(self):
        self.check_scale(144, 24, pictures=True)

    def test_at_200_percent(self):
        self.check_scale(192, 32)


class DarkMode(ProgramTest):
    KEY = r'HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize'

    def set_app_mode(self, light):
        self.app.wine('reg', 'add', self.KEY, '/v', 'AppsUseLightTheme', '/t', 'REG_DWORD', '/d',
                      str(light), '/f')

    def grounds(self):
        """The ground of the shown pad, near its lower right corner, and of the button panel."""
        shot = os.path.join(self.work, 'window.png')
        self.desktop.screenshot(shot)
        l, t, r, b = self.app.pad(1)['screen']
        panel = self.app.control(text='&End')['screen']
        return pixel(shot, r - 30, b - 10), pixel(shot, panel[2] + 4, panel[1] + 2)

    def test_dark_from_the_start_then_light_while_running(self):
        self.set_app_mode(0)
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        self.desktop.type('Notes in the dark')
        pad, panel = self.grounds()
        self.assertLess(max(pad), 60, 'the pad is dark')
        self.assertLess(max(panel), 60, 'the window around it is dark')
        keep_picture(self.desktop, 'Vorn Notes - by Kalvo', 'notes-window-dark.png')

        self.set_app_mode(1)
        self.app.probe('settingchange', 'ImmersiveColorSet')
        wait_until(lambda: min(self.grounds()[0]) > 200, 10, what='the pad light again')
        # The colours are no edit: the text and its undo are as typed.
        self.assertEqual(self.app.pad_text(1), 'Notes in the dark')
        self.app.focus_pad(1)
        self.desktop.key('ctrl+z')
        wait_until(lambda: self.app.pad_text(1) == '', 10, what='the typing undone')


if __name__ == '__main__':
    unittest.main()
