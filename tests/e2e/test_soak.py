"""A soak run: a bounded stream of real input, then every pad in its store equals the window.

VORN_SOAK_SECONDS sets the length (60 by default; tools/soak.sh runs it for longer)."""
import os
import random
import time
import unittest

from harness import ProgramTest, wait_until


class Soak(ProgramTest):
    def test_random_use_keeps_every_pad_in_its_store(self):
        seconds = float(os.environ.get('VORN_SOAK_SECONDS', '60'))
        rng = random.Random(int(os.environ.get('VORN_SOAK_SEED', '1')))
        app, desk = self.app, self.desktop
        app.start()
        app.show()
        shown, registry = 1, True
        changed = set()       # pads typed or pasted into
        clipboard_has_text = False
        actions = 0
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            action = rng.choice(['type', 'type', 'type', 'tab', 'copy', 'paste', 'hide', 'mode'])
            if not app.notes_window()['visible']:
                app.show()
            if action == 'type':
                app.focus_pad(shown)
                desk.type(rng.choice(['abc ', 'Grüße ', 'x', '42\n', 'end. ']))
                changed.add(shown)
            elif action == 'tab':
                shown = rng.randint(1, 6)
                app.click_tab(shown)
            elif action == 'copy':
                app.click_toolbar('copy')
                clipboard_has_text = clipboard_has_text or app.pad_text(shown) != ''
            elif action == 'paste' and clipboard_has_text:
                app.focus_pad(shown)
                app.click_toolbar('paste')
                changed.add(shown)
            elif action == 'hide':
                desk.key('Escape')
                wait_until(app.hidden, 10, what='hidden')
                app.click_tray(1)
                wait_until(app.shown, 10, what='shown')
            elif action == 'mode':
                app.click_control('Store in &Registry')
                registry = not registry
                wait_until(lambda: app.control('Store in &Registry')['check'] == int(registry), 5,
                           what='the mode')
            actions += 1
        time.sleep(1)
        self.assertTrue(app.running())
        self.assertEqual(app.dialogs(), [])
        # A switch of the store writes every pad to the new one: the store chosen last holds all.
        data = app.registry('Data')
        for pad in sorted(changed):
            shown_text = app.pad_text(pad)
            if registry:
                self.assertEqual(data.get(str(pad)), shown_text, 'pad %d in the registry' % pad)
            else:
                with open(app.pad_file(pad), 'rb') as f:
                    self.assertEqual(f.read().decode('utf-8'), shown_text, 'pad %d file' % pad)
        self.assertGreater(actions, 10)
        self.assertEqual([f for f in os.listdir(app.folder) if f.endswith(('.new', '.ok'))], [])


if __name__ == '__main__':
    unittest.main()
