#!/usr/bin/env python3
"""Holds what savers show against an older build of the tool.

Builds savers from the example's pictures in every scale mode, every order,
listed and random styles, captions in every font style with and without
shadow, renders each with both tools at several seeds and screen sizes, and
compares every frame byte for byte. A change to the show's code that should
not change what the screen shows is checked with a tool built from the
commit before it:

    bench/render_identity.py OLD_TOOL NEW_TOOL WORKDIR [--quick]

--quick renders one screen size at one seed, for a check while working.

The savers are built by OLD_TOOL with the player of the Windows tree beside
either tool (build/win/bin/pixvane.scr) or the one PIXVANE_PLAYER names.

Prints one line per saver and size, then "identity: N savers, N renders,
N frames, N differ"; exits 1 when any render differs.
"""
import filecmp
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PICTURES = os.path.join(ROOT, "examples", "beach", "pictures")
SEEDS = [0, 7, 12345]
SIZES = [(640, 480), (1024, 768), (600, 800)]
SECONDS = 12

# name -> (show table, caption table)
VARIANTS = {
    "stretch-random-styles": (
        'scale = "stretch"\neffects = [1, 17, 42, 64, 99, 127]\nrandom_effects = true\n',
        'text = "Greetings from the beach"\nstyle = ["fsBold"]\ncolor = "#FFF4D6"\n'),
    "fit-list-shadow": (
        'scale = "fit"\neffects = [118, 1, 60, 127, 54]\n',
        'text = "Sunrise, surf and sand"\nshadow = true\nmargin = 20\nheight = -32\n'),
    "fill-shuffle-italic": (
        'scale = "fill"\norder = "shuffle"\neffects = [65, 100, 110, 119, 123]\n'
        'random_effects = true\n',
        'text = "The lagoon at dusk"\nstyle = ["fsItalic", "fsUnderline"]\ncolor = "#00FF00"\n'
        'font = "Times New Roman"\nshadow = true\n'),
    "none-random-clear": (
        'scale = "none"\norder = "random"\nclear_between = true\neffects = [35, 58, 80, 86]\n',
        'text = "Courier, struck out"\nstyle = ["fsStrikeOut"]\nfont = "Courier New"\n'
        'height = 20\n'),
    "fit-cuts-no-caption": ('scale = "fit"\neffects = [0]\n', ''),
    "fill-pan-zoom-shadow": (
        'scale = "fill"\nmotion = "pan-zoom"\nzoom = 1.3\neffects = [1, 42, 99]\n',
        'text = "Drifting over the bay"\nshadow = true\nheight = -28\n'),
    "fill-bold-italic-shadow": (
        'scale = "fill"\norder = "random"\neffects = [18, 34, 47, 69, 71, 76, 113]\n'
        'random_effects = true\n',
        'text = "Bold and italic, with a shadow"\nstyle = ["fsBold", "fsItalic"]\n'
        'shadow = true\nmargin = 48\ncolor = "clYellow"\n'),
}


def manifest(show, caption):
    text = ('title = "Identity"\nkind = "photo"\n\n[show]\n'
            f'pictures = ["{PICTURES}/*.jpg"]\ninterval = 1500\n{show}')
    if caption:
        text += f"\n[caption]\n{caption}"
    return text


def run(args):
    result = subprocess.run(args, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"failed: {' '.join(args)}\n{result.stderr}")


def same_folders(a, b):
    names = sorted(os.listdir(a))
    if names != sorted(os.listdir(b)):
        return len(names), False
    match, mismatch, errors = filecmp.cmpfiles(a, b, names, shallow=False)
    return len(names), not mismatch and not errors


def find_player(*tools):
    """The Windows tree's player beside either tool's native tree."""
    for tool in tools:
        build = os.path.dirname(os.path.dirname(os.path.dirname(tool)))
        player = os.path.join(build, "win", "bin", "pixvane.scr")
        if os.path.exists(player):
            return player
    player = os.environ.get("PIXVANE_PLAYER", "")
    if not os.path.exists(player):
        sys.exit("no player: build the Windows tree or set PIXVANE_PLAYER")
    return player


def main():
    args = [a for a in sys.argv[1:] if a != "--quick"]
    if len(args) != 3:
        sys.exit(__doc__)
    quick = "--quick" in sys.argv
    sizes, seeds = (SIZES[:1], SEEDS[-1:]) if quick else (SIZES, SEEDS)
    old_tool, new_tool, work = (os.path.abspath(p) for p in args)
    player = find_player(old_tool, new_tool)
    os.makedirs(work, exist_ok=True)
    renders = frames = differ = 0
    for name, (show, caption) in VARIANTS.items():
        folder = os.path.join(work, name)
        os.makedirs(folder, exist_ok=True)
        toml = os.path.join(folder, "pixvane.toml")
        with open(toml, "w") as out:
            out.write(manifest(show, caption))
        # The saver comes from the old tool, so the two players read the same bytes.
        saver = os.path.join(folder, "show.scr")
        build = [old_tool, "build", toml, "-o", saver, "--player", player]
        run(build)
        for width, height in sizes:
            bad = []
            for seed in seeds:
                outs = []
                for label, tool in (("old", old_tool), ("new", new_tool)):
                    out = os.path.join(folder, f"{label}-{width}x{height}-{seed}")
                    if os.path.isdir(out):
                        for f in os.listdir(out):
                            os.remove(os.path.join(out, f))
                    run([tool, "render", saver, "--width", str(width), "--height", str(height),
                         "--seconds", str(SECONDS), "--seed", str(seed), "-o", out])
                    outs.append(out)
                count, same = same_folders(*outs)
                renders += 1
                frames += count
                if not same:
                    differ += 1
                    bad.append(seed)
            print(f"{name} {width}x{height}: " + ("same" if not bad else f"DIFFER at seeds {bad}"), flush=True)
    print(f"identity: {len(VARIANTS)} savers, {renders} renders, {frames} frames, {differ} differ")
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
