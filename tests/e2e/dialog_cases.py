"""End-to-end cases of the setup dialog's skinned frame, run by run_e2e.py.

The frame is drawn from the default skin the player carries: at 96 DPI
its caption strip is 28 pixels high and its buttons, 28 pixels wide each,
end 4 pixels before the window's right edge: close, to tray, and roll up
(or roll down, in the same place, while rolled up). Wine shows the
notification area as a stand-alone window of its own, "Wine System Tray".
"""
import os
import time

import run_e2e as e2e
from run_e2e import check, wait_until

CAPTION = "Setup [%s]" % e2e.TITLE
CAPTION_HEIGHT = 28


def frame_button(rect, index):
    """The centre of the index-th frame button from the right (0 is close)."""
    return rect[2] - 4 - 28 * index - 14, rect[1] + CAPTION_HEIGHT // 2


def window_rect(run, hwnd):
    found = [w for w in run.helper.windows() if w[0] == hwnd]
    return found[0][3] if found else None


def open_dialog(run, case):
    folder = run.folder(case)
    exe = run.copy_saver(folder)
    process = run.start(exe)
    window = run.wait_window(CAPTION)[0]
    return folder, process, window


def ticked(run, window):
    return run.helper.controls(window[0])["Mute music"][2]


def case_dialog_frame_close_writes_nothing(run):
    """The frame's close button ends the dialog without storing a changed choice."""
    folder, process, window = open_dialog(run, "frame-close")
    run.click(run.helper.controls(window[0])["Mute music"][3])
    check(wait_until(lambda: ticked(run, window) == 1, 10), "the click did not tick the box")
    run.xdo("mousemove", *frame_button(window[3], 0), "click", 1)
    run.wait_exit(process, 15, "the frame's close button")
    check(not os.path.exists(os.path.join(folder, "CONTROL.INI")),
          "the close button stored the choice")


def case_dialog_ok_released_outside(run):
    """A press on OK that is released outside it does not close the dialog."""
    _, process, window = open_dialog(run, "ok-outside")
    ok = run.helper.controls(window[0])["&Ok"][3]
    run.xdo("mousemove", (ok[0] + ok[2]) // 2, (ok[1] + ok[3]) // 2, "mousedown", 1)
    run.xdo("mousemove", ok[0] - 40, ok[1] - 40, "mouseup", 1)
    time.sleep(e2e.INPUT_SETTLE)  # a close would show within this
    check(process.poll() is None and run.windows_captioned(CAPTION),
          "the dialog closed on a release outside OK")
    run.close_window(window, process)


def case_dialog_rolls_up_and_down(run):
    """Roll up leaves the caption strip only; roll down gives the dialog its height back."""
    _, process, window = open_dialog(run, "roll")
    full = window[3]
    run.xdo("mousemove", *frame_button(full, 2), "click", 1)
    rolled = wait_until(lambda: (lambda r: r if r and r[3] - r[1] == CAPTION_HEIGHT else None)(
        window_rect(run, window[0])), 10)
    check(rolled, "rolled up, the window is %s" % (window_rect(run, window[0]),))
    run.screenshot("dialog-rolled-up.png", rolled)
    run.xdo("mousemove", *frame_button(full, 2), "click", 1)
    check(wait_until(lambda: window_rect(run, window[0]) == full, 10),
          "rolled down, the window is %s, not %s" % (window_rect(run, window[0]), full))
    run.close_window(window, process)


def case_dialog_moves_by_its_caption(run):
    """Dragging the caption moves the dialog by as much."""
    _, process, window = open_dialog(run, "move")
    left, top = window[3][0], window[3][1]
    run.xdo("mousemove", left + 120, top + CAPTION_HEIGHT // 2, "mousedown", 1)
    for step in range(1, 7):
        run.xdo("mousemove", left + 120 + 10 * step, top + CAPTION_HEIGHT // 2 + 5 * step)
    run.xdo("mouseup", 1)
    moved = wait_until(lambda: (lambda r: r if r and r[0] == left + 60 else None)(
        window_rect(run, window[0])), 10)
    check(moved and moved[1] == top + 30,
          "the window is at %s after a drag by (60, 30) from (%d, %d)"
          % (window_rect(run, window[0]), left, top))
    run.close_window(window, process)


def case_dialog_translated_accelerator(run):
    """A translated caption's "&" letter works the box; Enter is OK and stores it."""
    folder = run.folder("accelerator")
    exe = run.copy_saver(folder)
    with open(os.path.join(folder, "pixvane.ini"), "w") as f:
        f.write("[Language]\r\nMuteMusic=Musik &stumm\r\n")
    process = run.start(exe)
    window = run.wait_window(CAPTION)[0]
    run.xdo("key", "Tab")  # away from the box, so the letter must find it
    run.xdo("key", "alt+s")
    check(wait_until(lambda: run.helper.controls(window[0])["Musik &stumm"][2] == 1, 10),
          "Alt+S did not tick the box captioned 'Musik &stumm'")
    run.screenshot("dialog-accelerator.png", window[3])
    run.xdo("key", "Return")
    run.wait_exit(process, 15, "Enter")
    with open(os.path.join(folder, "CONTROL.INI")) as f:
        check("mute=1" in f.read(), "Enter did not store the ticked box")


def case_dialog_to_tray_and_back(run):
    """To tray hides the dialog behind an icon in the notification area; the icon brings it back."""
    _, process, window = open_dialog(run, "tray")
    run.xdo("mousemove", *frame_button(window[3], 1), "click", 1)
    check(wait_until(lambda: not run.windows_captioned(CAPTION), 10), "the dialog is still shown")
    trays = [w for w in run.helper.windows() if w[2] == "Wine System Tray"]
    check(trays, "no notification area shown (windows: %s)" % run.helper.windows())
    run.screenshot("dialog-tray.png", trays[0][3])
    # Wine's stand-alone notification area shows the first icon at its
    # bottom left, below a strip of its own.
    tray = trays[0][3]
    run.xdo("mousemove", tray[0] + 12, tray[3] - 13, "click", 1)
    check(wait_until(lambda: run.windows_captioned(CAPTION), 10), "the icon did not bring it back")
    run.close_window(window, process)


CASES = [case_dialog_frame_close_writes_nothing, case_dialog_ok_released_outside,
         case_dialog_rolls_up_and_down, case_dialog_moves_by_its_caption,
         case_dialog_translated_accelerator, case_dialog_to_tray_and_back]
