"""The notes window, start-up, hiding, ending and the tray icon, driven as a user drives them."""
import os
import re
import shutil
import subprocess
import time
import unittest

from harness import EXE_DIR, WINE, ProgramTest, ROOT, _die_with_parent, ids, pad_id, wait_until

TPP = 15.0  # twips per pixel at 96 dpi
EIGHT = {'Top', 'Left', 'Height', 'Width', 'Reg', 'OnTop', 'HotKey', 'Zoom'}


def px(twips):
    return round(twips / TPP)


class FirstStart(ProgramTest):
    def test_icon_in_the_tray_window_hidden_and_options_as_designed(self):
        # DLLs named as the system's beside the exe, as a Downloads folder may hold them.
        planted = ['msftedit.dll', 'dwmapi.dll', 'uxtheme.dll', 'winspool.drv']
        for name in planted:
            shutil.copy(os.path.join(EXE_DIR, 'planted.dll'), os.path.join(self.app.folder, name))
        self.app.start()
        notes = self.app.notes_window()
        self.assertEqual(notes['title'], 'Vorn Notes - by Kalvo')
        self.assertFalse(notes['visible'])
        self.assertEqual(len(self.desktop.tray_icons()), 1)
        tray = self.app.tray_window()
        self.assertIsNotNone(tray)
        self.assertFalse(tray['visible'])
        self.assertEqual(self.app.control('Store in &Registry')['check'], 1)
        self.assertEqual(self.app.control('&Top')['check'], 0)
        # The designed client area, 6216 x 5028 twips at 3036, 1812.
        controls = self.app.controls()
        pads = [c for c in controls if 'RichEdit' in c['class']]
        self.assertEqual([(p['id'], p['visible'], p['text']) for p in pads], [(pad_id(1), 1, '')])
        self.assertEqual(self.app.registry(), {})  # starting writes nothing
        self.app.show()
        self.assertEqual([n for n in planted
                          if os.path.exists(os.path.join(self.app.folder, n + '.loaded'))], [])

    def test_controls_captions_tabs_status_and_tool_tips(self):
        self.app.start()
        self.app.show()
        texts = {c['text'] for c in self.app.controls()}
        for caption in ('&Top', 'Store in &Registry', '&About', '&Hide', '&End'):
            self.assertIn(caption, texts)
        tabs = self.app.probe('tabs')
        self.assertEqual(tabs['captions'], ['Doc #%d' % i for i in range(1, 11)])
        self.assertEqual(tabs['selected'], 0)
        status = self.app.probe('status')
        self.assertEqual(len(status['parts']), 4)
        self.assertEqual(status['panel1'], '')
        widths = [status['parts'][1] - status['parts'][0], status['parts'][2] - status['parts'][1]]
        self.assertEqual(widths, [px(600), px(600)])
        tips = {t['text'] for t in self.app.probe('tooltips')}
        for tip in ('Make this window the top-most window',
                    'Data will/will-not be saved in the registry from now (default is the program path)',
                    'Displays Information about the author and Vorn Notes',
                    'Ends the application (to hide press ESC)'):
            self.assertIn(tip, tips)
        # The README's picture: the window in its frame.
        shot = os.path.join(ROOT, 'build', 'e2e', 'notes-window.png')
        os.makedirs(os.path.dirname(shot), exist_ok=True)
        self.desktop.x(['import', '-frame', '-window', self.app.x_window(), shot])
        self.assertTrue(os.path.getsize(shot) > 1000)
        if os.environ.get('VORN_UPDATE_DOCS'):
            shutil.copy(shot, os.path.join(ROOT, 'docs', 'notes-window.png'))

    def test_the_bars_options_and_panels_measure_as_designed(self):
        self.app.start()
        self.app.show()
        toolbar = self.rect_of('ToolbarWindow32')
        status = self.rect_of('msctls_statusbar32')
        self.assertEqual(toolbar[3] - toolbar[1], px(336))
        self.assertEqual(status[3] - status[1], px(252))
        self.assertEqual(self.rect_of(ids.kButtonPanelClass)[1], px(4440))
        self.assertEqual(self.app.probe('status')['parts'][0], px(4008))  # room for the grip
        # The options at their designed tops on the toolbar, with no divider line above them.
        self.assertEqual(self.app.control('&Top')['rect'][1] - toolbar[1], px(15))
        self.assertEqual(self.app.control('Store in &Registry')['rect'][1] - toolbar[1], px(40))
        for button in self.app.probe('captions'):
            self.assertGreaterEqual(button['width'], button['needed'], button['text'])

    def test_layout_follows_the_window(self):
        self.app.start()
        self.app.show()
        self.check_layout()
        # Wider by 40 pixels and higher by 60: the strip and pads follow, the panel moves down.
        win = self.app.x_window()
        notes = self.app.notes_window()
        w = notes['rect'][2] - notes['rect'][0]
        self.desktop.x(['xdotool', 'windowsize', win, str(414 + 40), str(335 + 60)])
        wait_until(lambda: self.client_size() == (454, 395), 10, what='the new size')
        self.check_layout()
        # Too low for the fixed parts: the tab strip keeps its height, the panel still moves.
        before = self.rect_of('SysTabControl32')
        self.desktop.x(['xdotool', 'windowsize', win, '454', '60'])
        wait_until(lambda: self.client_size()[1] == 60, 10, what='the low size')
        after = self.rect_of('SysTabControl32')
        self.assertEqual(after[3] - after[1], before[3] - before[1])
        panel = self.rect_of(ids.kButtonPanelClass)
        self.assertLess(panel[1], 60)
        now = self.app.notes_window()['rect']
        self.assertEqual(now[2] - now[0], w + 40)  # the height alone changed

    def client_size(self):
        bar = self.rect_of('msctls_statusbar32')
        toolbar = self.rect_of('ToolbarWindow32')
        return toolbar[2], bar[3]

    def rect_of(self, cls):
        return self.app.control(cls=cls)['rect']

    def check_layout(self):
        width, height = self.client_size()
        toolbar = self.rect_of('ToolbarWindow32')
        status = self.rect_of('msctls_statusbar32')
        tb_h, sb_h = toolbar[3] - toolbar[1], status[3] - status[1]
        panel = self.rect_of(ids.kButtonPanelClass)
        top = (height - sb_h - tb_h) * TPP
        self.assertClose(panel[1], px(top))
        self.assertEqual(panel[0], px(60))
        self.assertClose(panel[2] - panel[0], px(2856))
        tabs = self.rect_of('SysTabControl32')
        self.assertEqual(tabs[:2], [px(60), px(480)])
        strip_h = top - 480 - 50
        strip_w = width * TPP - 120
        self.assertClose(tabs[3] - tabs[1], px(strip_h))
        self.assertClose(tabs[2] - tabs[0], px(strip_w))
        for pad in (c for c in self.app.controls() if 'RichEdit' in c['class']):
            l, t, r, b = pad['rect']
            self.assertClose(l, px(110))
            self.assertClose(b, px(strip_h + tb_h * TPP), 2)
            self.assertClose(r, px(strip_w), 2)


class TrayClicks(ProgramTest):
    def test_left_release_shows_and_focuses_right_release_toggles(self):
        self.app.start()
        self.app.click_tray(1)
        shown = wait_until(self.app.shown, 10, what='shown')
        wait_until(lambda: self.app.notes_window()['foreground'], 5, what='focus')
        rect = shown['rect']
        # A left click on a shown window keeps it shown, where it was, and focused.
        self.app.click_tray(1)
        time.sleep(0.5)
        w = self.app.notes_window()
        self.assertTrue(w['visible'])
        self.assertEqual(w['rect'], rect)
        self.assertTrue(w['foreground'])
        # A double click is two left releases: shown, never toggled.
        self.app.click_tray(1, repeat=2)
        time.sleep(0.5)
        self.assertTrue(self.app.notes_window()['visible'])
        # Right releases toggle.
        self.app.click_tray(3)
        wait_until(self.app.hidden, 10, what='hidden')
        self.app.click_tray(3)
        w = wait_until(self.app.shown, 10, what='shown again')
        self.assertEqual(w['rect'], rect)
        # The middle button does nothing.
        self.app.click_tray(2)
        time.sleep(0.5)
        self.assertTrue(self.app.notes_window()['visible'])
        self.assertTrue(self.app.running())

    def test_enter_on_the_icon_shows_the_window_with_the_keyboard_in_its_pad(self):
        self.app.start()
        # What the shell reports for Enter or Space on the icon (reached with Win+B).
        self.app.probe('trayevent', str(0x0401))
        w = wait_until(lambda: (lambda n: n if n['visible'] and n['foreground'] else None)(
            self.app.notes_window()), 10, what='shown in front')
        self.assertEqual(w['focus'], self.app.control(id=pad_id(1))['hwnd'])

    def test_icon_comes_back_when_the_notification_area_restarts(self):
        self.app.start()
        self.desktop.stop_trayer()
        self.desktop.trayer = self.desktop.start_trayer()
        wait_until(self.desktop.tray_icons, 15, what='the icon in the new tray')
        self.app.show()

    def test_icon_appears_when_the_tray_starts_after_the_program(self):
        self.desktop.stop_trayer()
        self.app.start(wait_icon=False)
        self.desktop.trayer = self.desktop.start_trayer()
        wait_until(self.desktop.tray_icons, 15, what='the icon in the late tray')
        self.app.show()


class Hiding(ProgramTest):
    def test_escape_shift_escape_hide_button_and_close_box_only_hide(self):
        self.app.start()
        ways = {
            'Escape in a pad': lambda: (self.app.click_control(id=pad_id(1)), self.desktop.type('ab'),
                                        self.desktop.key('Escape')),
            'Shift+Escape': lambda: (self.app.click_control(id=pad_id(1)),
                                     self.desktop.key('shift+Escape')),
            'Ctrl+Escape': lambda: (self.app.click_control(id=pad_id(1)),
                                    self.desktop.key('ctrl+Escape')),
            '&Hide': lambda: self.app.click_control('&Hide'),
            'Alt+H': lambda: self.desktop.key('alt+h'),
            'close box': self.app.click_close_box,
            'Alt+F4': lambda: self.desktop.key('alt+F4'),
        }
        for name, way in ways.items():
            with self.subTest(name):
                self.app.show()
                way()
                wait_until(self.app.hidden, 10, what='hidden by ' + name)
                self.assertTrue(self.app.running())
                self.assertEqual(len(self.desktop.tray_icons()), 1)
        self.assertNotIn('Setting', self.app.registry())  # hiding saves no settings


class HotKeyFromAnywhere(ProgramTest):
    def notepad_in_front(self):
        self.app.started.append(subprocess.Popen(
            [WINE, 'notepad'], env=self.app.env, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent))
        self.desktop.x(['xdotool', 'search', '--sync', '--name', 'Notepad', 'windowactivate',
                        '--sync'], check=False)
        time.sleep(0.5)

    def test_the_hotkey_shows_with_the_caret_in_the_pad_and_hides_the_active_window(self):
        for stored, works in ((None, True), ('Ctrl+Alt+', True), ('', False)):
            with self.subTest(stored=stored):
                if stored is not None:
                    self.app.set_setting('HotKey', stored)
                self.app.start()
                self.notepad_in_front()
                self.desktop.key('ctrl+alt+F9')
                if not works:
                    time.sleep(2)
                    self.assertTrue(self.app.hidden())
                    self.app.stop()
                    continue
                w = wait_until(lambda: (lambda w: w if w['visible'] and w['foreground'] else
                                        None)(self.app.notes_window()), 10, what='shown in front')
                self.assertEqual(w['focus'], self.app.pad(1)['hwnd'])
                self.desktop.key('ctrl+alt+F9')
                wait_until(self.app.hidden, 10, what='hidden again')
                self.app.show()  # End stores the key as it was read
                self.app.click_control('&End')
                self.app.wait_exit()
                self.assertEqual(self.app.registry('Setting')['HotKey'], 'Ctrl+Alt+F9')
                self.app.stop()


class Ending(ProgramTest):
    def test_end_writes_eight_entries_removes_the_icon_and_the_next_start_restores(self):
        self.app.start()
        self.app.show()
        win = self.app.x_window()
        self.desktop.x(['xdotool', 'windowmove', win, '150', '90'])
        self.desktop.x(['xdotool', 'windowsize', win, '500', '380'])
        wait_until(lambda: self.app.notes_window()['rect'][:2] != [198, 98] and
                   self.app.client_geometry()[2:] == (500, 380), 10, what='moved and sized')
        self.app.click_control('&Top')
        self.app.click_control('Store in &Registry')
        wait_until(lambda: self.app.control('&Top')['check'] == 1, 5, what='Top ticked')
        rect = self.app.notes_window()['rect']
        self.app.click_control('&End')
        self.app.wait_exit()
        self.assertEqual(self.desktop.tray_icons(), [])
        stored = self.app.registry('Setting')
        self.assertEqual(set(stored), EIGHT)
        self.assertEqual(stored['Left'], str(rect[0] * 15))
        self.assertEqual(stored['Top'], str(rect[1] * 15))
        self.assertEqual(stored['Width'], str((rect[2] - rect[0]) * 15))
        self.assertEqual(stored['Height'], str((rect[3] - rect[1]) * 15))
        self.assertEqual((stored['Reg'], stored['OnTop']), ('0', '1'))

        self.app.start()
        self.assertEqual(self.app.control('&Top')['check'], 1)
        self.assertEqual(self.app.control('Store in &Registry')['check'], 0)
        self.app.show()
        w = self.app.notes_window()
        self.assertEqual(w['rect'], rect)
        self.assertTrue(w['exstyle'] & 0x8)  # WS_EX_TOPMOST

    def test_log_off_saves_and_ends(self):
        self.app.start()
        self.app.wine('wineboot', '--end-session', timeout=60, check=False)
        self.app.wait_exit(30)
        self.assertEqual(set(self.app.registry('Setting')), EIGHT)

    def test_task_manager_close_saves_and_ends(self):
        self.app.start()
        self.app.wine('taskkill', '/IM', 'VornNotes.exe', check=False)
        self.app.wait_exit()
        stored = self.app.registry('Setting')
        self.assertEqual(set(stored), EIGHT)
        self.assertEqual(stored['Reg'], '1')

    def test_task_manager_close_of_a_minimized_window_stores_its_normal_rectangle(self):
        self.app.start()
        self.app.show()
        normal = self.app.notes_window()['rect']
        self.desktop.x(['xdotool', 'windowminimize', self.app.x_window()])
        wait_until(lambda: self.app.notes_window()['iconic'], 10, what='minimized')
        self.app.wine('taskkill', '/IM', 'VornNotes.exe', check=False)
        self.app.wait_exit()
        stored = self.app.registry('Setting')
        self.assertEqual((stored['Left'], stored['Top']), (str(normal[0] * 15), str(normal[1] * 15)))
        self.assertEqual(stored['Width'], str((normal[2] - normal[0]) * 15))


class StoredGeometry(ProgramTest):
    def test_zero_and_garbage_keep_the_designed_coordinate(self):
        for key, value in (('Top', '0'), ('Left', 'garbage'), ('Height', '6000'),
                           ('Width', '7500'), ('OnTop', 'yes'), ('Reg', '7')):
            self.app.set_setting(key, value)
        self.app.start()
        self.app.show()
        r = self.app.notes_window()['rect']
        self.assertEqual(r[:2], [198, 98])  # the designed position
        self.assertEqual((r[2] - r[0], r[3] - r[1]), (500, 400))
        self.assertEqual(self.app.control('&Top')['check'], 0)
        self.assertEqual(self.app.control('Store in &Registry')['check'], 1)

    def test_garbage_settings_start_apply_what_is_valid_and_lose_no_pad(self):
        for key, value in (('Top', '1e999'), ('Left', '-' * 5000), ('Height', '9' * 4000),
                           ('Width', '-6000'), ('Reg', '1e999'), ('OnTop', 'x' * 10000)):
            self.app.set_setting(key, value)
        self.app.set_setting('1', 'keep me', section='Data')
        self.app.start()
        self.assertEqual(self.app.pad_text(1), 'keep me')
        self.assertEqual(self.app.control('Store in &Registry')['check'], 1)
        self.assertEqual(self.app.control('&Top')['check'], 0)
        r = self.app.show()['rect']
        self.assertEqual(r[:2], [198, 98])
        self.assertEqual((r[2] - r[0], r[3] - r[1]), (422, 362))  # the designed size

    def test_a_window_out_of_reach_comes_back_one_that_can_be_taken_hold_of_stays(self):
        self.app.set_setting('Left', '60000')
        self.app.set_setting('Top', '-1200')
        self.app.start()
        r = self.app.notes_window()['rect']
        self.assertLessEqual(r[2], 1024)
        self.assertGreaterEqual(r[0], 0)
        self.app.wine('taskkill', '/IM', 'VornNotes.exe', check=False)
        self.app.wait_exit()
        self.app.set_setting('Left', '-1500')
        self.app.set_setting('Top', '300')
        self.app.start()
        self.assertEqual(self.app.notes_window()['rect'][:2], [-100, 20])
        # Only its right part on the screen: the middle of its title bar is not.
        self.app.wine('taskkill', '/IM', 'VornNotes.exe', check=False)
        self.app.wait_exit()
        self.app.set_setting('Left', '-4500')
        self.app.start()
        self.assertEqual(self.app.notes_window()['rect'][:2], [0, 20])

    def test_a_stored_size_too_small_is_raised_to_one_that_shows_every_part(self):
        self.app.set_setting('Width', '1')
        self.app.set_setting('Height', '1')
        self.app.start()
        self.app.show()
        x, y, w, h = self.app.client_geometry()
        inside = lambda r: x <= r[0] and r[2] <= x + w and y <= r[1] and r[3] <= y + h
        for text in ('&About', '&Hide', '&End', '&Top', 'Store in &Registry'):
            self.assertTrue(inside(self.app.control(text)['screen']), text)
        pad = self.app.pad(1)['screen']
        self.assertTrue(inside(pad))
        self.assertGreaterEqual(pad[3] - pad[1], 3 * 13)  # a few lines of 8.5-point text
        bar = self.app.control(cls='msctls_statusbar32')['screen']
        self.assertTrue(inside(bar))
        self.assertGreaterEqual(bar[1], self.app.control('&End')['screen'][3])


class Keyboard(ProgramTest):
    def test_tab_order_and_access_keys(self):
        self.app.start()
        self.app.show()
        ids = {c['hwnd']: c for c in self.app.controls()}

        def focused():
            c = ids.get(self.app.notes_window()['focus'])
            if c is None:
                return None
            return c['text'] if c['class'] == 'Button' else c['class']

        self.app.click_control(id=pad_id(1))
        wait_until(lambda: focused() == 'RichEdit50W', 5, what='the pad focused')
        order = []
        for _ in range(7):
            before = self.app.notes_window()['focus']
            self.desktop.key('Tab')
            wait_until(lambda: self.app.notes_window()['focus'] != before, 5, what='the focus to move')
            order.append(focused())
        self.assertEqual(order, ['&Top', '&Hide', '&End', '&About', 'Store in &Registry',
                                 'SysTabControl32', 'RichEdit50W'])
        self.desktop.key('shift+Tab')
        wait_until(lambda: focused() == 'SysTabControl32', 5, what='Shift+Tab')
        self.desktop.key('alt+t')
        wait_until(lambda: self.app.control('&Top')['check'] == 1, 5, what='Alt+T')
        self.desktop.key('alt+r')
        wait_until(lambda: self.app.control('Store in &Registry')['check'] == 0, 5, what='Alt+R')
        self.assertTrue(self.app.notes_window()['exstyle'] & 0x8)  # top-most after Alt+T

    def test_caps_and_num_panels_follow_the_keyboard(self):
        self.app.start()
        self.app.show()
        before = self.app.probe('status')['indicators']
        self.desktop.key('Caps_Lock')
        wait_until(lambda: self.app.probe('status')['indicators'][0] != before[0], 5, what='CAPS')
        self.desktop.key('Caps_Lock')
        wait_until(lambda: self.app.probe('status')['indicators'][0] == before[0], 5, what='CAPS off')
        self.desktop.key('Num_Lock')
        wait_until(lambda: self.app.probe('status')['indicators'][1] != before[1], 5, what='NUM')


class StartWithWindows(ProgramTest):
    RUN_KEY = r'HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
    APPROVED_KEY = r'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'

    def run_value(self):
        r = self.app.wine('reg', 'query', self.RUN_KEY, '/v', 'Vorn Notes', check=False)
        m = re.search(r'Vorn Notes\s+REG_SZ\s+(.*)', r.stdout.decode('utf-8', 'replace'))
        return m.group(1).strip() if m else None

    def test_the_system_menu_item_adds_and_removes_the_run_value_and_mends_a_stale_one(self):
        # Left by a copy of the program that has moved since: it counts as off.
        self.app.wine('reg', 'add', self.RUN_KEY, '/v', 'Vorn Notes', '/d', r'"C:\Old\VornNotes.exe"',
                      '/f')
        self.app.start()
        choose = lambda: self.app.probe('syscommand', str(ids.kStartWithWindowsCommand))
        logon = '"%s" /logon' % self.app.program
        choose()
        wait_until(lambda: self.run_value() == logon, 10, what='turned on')
        # Turned off in Task Manager's Startup tab: the Run value stays, the item is unticked,
        # and choosing it turns the start on again for Windows.
        self.app.wine('reg', 'add', self.APPROVED_KEY, '/v', 'Vorn Notes', '/t', 'REG_BINARY',
                      '/d', '030000000000000000000000', '/f')
        choose()
        wait_until(lambda: self.approval() is None, 10, what='Task Manager\'s entry cleared')
        self.assertEqual(self.run_value(), logon)
        choose()
        wait_until(lambda: self.run_value() is None, 10, what='turned off')
        self.assertTrue(self.app.running())

    def approval(self):
        r = self.app.wine('reg', 'query', self.APPROVED_KEY, '/v', 'Vorn Notes', check=False)
        m = re.search(r'Vorn Notes\s+REG_BINARY\s+(.*)', r.stdout.decode('utf-8', 'replace'))
        return m.group(1).strip() if m else None


class Zoom(ProgramTest):
    def zoom_shown(self, percent):
        wait_until(lambda: self.app.probe('status')['panel1'] == 'Zoom: %d %%' % percent, 5,
                   what='the zoom at %d %%' % percent)

    def test_keys_and_the_wheel_zoom_the_pads_and_the_zoom_comes_back(self):
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        self.desktop.key('ctrl+plus', 'ctrl+plus')
        self.zoom_shown(120)
        pad = self.app.pad(1)['screen']
        self.desktop.x(['xdotool', 'mousemove', str((pad[0] + pad[2]) // 2),
                        str((pad[1] + pad[3]) // 2), 'keydown', 'ctrl', 'click', '4', 'keyup', 'ctrl'])
        self.zoom_shown(130)
        self.desktop.key('ctrl+minus')
        self.zoom_shown(120)
        self.app.click_control('&End')
        self.app.wait_exit()
        self.assertEqual(self.app.registry('Setting')['Zoom'], '120')
        self.app.start()
        self.app.show()
        self.app.focus_pad(1)
        self.desktop.key('ctrl+minus')
        self.zoom_shown(110)


if __name__ == '__main__':
    unittest.main()
