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
from e2e_common import check, wait_until

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


def case_dialog_frame_close_writes_nothing(run):
    """The frame's close button ends the dialog without storing a changed choice."""
    folder, process, window = open_dialog(run, "frame-close")
    e2e.tick_mute(run, window)
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


def marks(pixels, inked):
    """The marks drawn in a block of pixels, left to right: runs of inked
    columns as (first column, last column, the rows inked)."""
    found = []
    for x in range(len(pixels[0])):
        rows = {y for y, row in enumerate(pixels) if inked(row[x])}
        if rows and found and found[-1][1] == x - 1:
            found[-1] = (found[-1][0], x, found[-1][2] | rows)
        elif rows:
            found.append((x, x, rows))
    return found


def ends_in_dots(run, rect):
    """True when the text in rect ends in "...": its last three marks are
    small dots in the lower half of the line."""
    found = marks(run.screen_pixels(rect), lambda c: sum(c) < 3 * 0x90)
    if len(found) < 4:
        return False
    top, bottom = min(min(m[2]) for m in found), max(max(m[2]) for m in found)
    return all(m[1] - m[0] <= 2 and max(m[2]) - min(m[2]) <= 2 and min(m[2]) > (top + bottom) / 2
               for m in found[-3:])


def case_dialog_text_fits_what_frames_it(run):
    """The focus mark clears the check box's text, a link's underline ends with
    its text, and a title too long ends in "..." in the caption bar and its label."""
    _, process, window = open_dialog(run, "measured")
    controls = run.helper.controls(window[0])
    # The box has the focus when the dialog opens: its frame is the longest
    # one-coloured row right of the box, twice (top and bottom line).
    box = controls["Mute music"][3]
    pixels = run.screen_pixels(box)
    paper = pixels[0][-1]
    runs = []
    for y, row in enumerate(pixels):
        x = 14
        while x < len(row):
            end = x
            while end + 1 < len(row) and row[end + 1] == row[x]:
                end += 1
            if row[x] != paper:
                runs.append((end - x, y, x, end))
            x = end + 1
    length = max(runs)[0]
    lines = sorted(r for r in runs if r[0] == length)
    check(len(lines) == 2, "the focus mark shows %d whole lines, not 2, in %s" % (len(lines), box))
    (_, top, left, right), bottom = lines[0], lines[1][1]
    inside = [row[left + 1:right] for row in pixels[top + 1:bottom]]
    ink = marks(inside, lambda c: not e2e.near(c, paper, 48))
    check(ink and ink[0][0] >= 1 and ink[-1][1] <= right - left - 3,
          "the text (columns %s) touches the focus mark (columns 0 and %d)"
          % (ink and (ink[0][0] + 1, ink[-1][1] + 1), right - left))

    for link in (e2e.EMAIL, e2e.WEB):
        rect = controls[link][3]
        blue = lambda c: c[2] > 0x90 and c[0] < 0x70 and c[1] < 0x70
        drawn = run.screen_pixels(rect)
        underline = max(range(len(drawn)), key=lambda y: sum(map(blue, drawn[y])))
        line = marks([drawn[underline]], blue)
        text = marks(drawn[:underline - 1], blue)
        check(text and abs(line[-1][1] - text[-1][1]) <= 2,
              "%s: the underline ends at %d, the text at %d" % (link, line[-1][1], text[-1][1]))
    run.close_window(window, process)

    # Many m's: the glyphs the platform is most apt to draw wider than measured.
    title = "Mammoth summer memories: mummies, mimosas and a minimum of mammals"
    saver = run.solid_saver(title, ["red"])
    process = run.start(run.copy_saver(run.folder("measured-long"), saver=saver))
    window = run.wait_window("Setup [%s]" % title)[0]
    left, top, right, _ = window[3]
    caption = (left + 30, top + 3, right - 4 - 28 * 3 - 2, top + CAPTION_HEIGHT - 3)
    check(wait_until(lambda: ends_in_dots(run, caption), 10),
          "the caption bar's title does not end in '...'")
    label = run.helper.controls(window[0])["Title:" + title][3]
    check(wait_until(lambda: ends_in_dots(run, label), 10), "the title label does not end in '...'")
    run.close_window(window, process)


CASES = [case_dialog_frame_close_writes_nothing, case_dialog_ok_released_outside,
         case_dialog_rolls_up_and_down, case_dialog_moves_by_its_caption,
         case_dialog_translated_accelerator, case_dialog_to_tray_and_back,
         case_dialog_text_fits_what_frames_it]
