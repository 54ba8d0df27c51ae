#!/usr/bin/python3
"""Draws the About window's two pictures: src/gui/about/images/about_train.png (120 x 130) and
about_icon.png (48 x 48), 24-bit RGB, a locomotive coming out of the fog; and from the small one
the program's icon at the usual sizes (src/gui/widgets/icons/, transparent PNGs and a Windows .ico).

Needs Pillow from Debian's python3-pil (hence the system interpreter). Each picture is drawn at
four times its size and scaled down, which smooths the edges. Nothing random, so every run writes
the same pictures.

The window makes the colour of a picture's bottom-left pixel transparent, so each picture has a
flat background of one key colour that appears nowhere else in it: the scene shows cut out on the
window's white panel. Edges, and everything towards the border, are blended with white, the
panel's colour, so no fringe of another colour shows around the cut-out.
"""

import pathlib

from PIL import Image, ImageChops, ImageDraw, ImageFilter

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "src" / "about" / "images"
SCALE = 4
ICON_OUT = ROOT / "src" / "widgets" / "icons"
ICON_SIZES = (16, 24, 32, 48, 64, 128, 256)
# The small picture's locomotive box, horizon, gauge, masts, lamp glow and radius, edge margin.
ICON_LAYOUT = ((10, 9, 38, 41), 22, 40, False, 5, 2.2, 1.5)

FOG_TOP = (226, 229, 232)
FOG_GROUND = (176, 180, 183)
BODY = (48, 62, 92)
STRIPE = (196, 150, 40)
WINDOW = (120, 138, 150)
DARK = (34, 36, 40)
LAMP = (255, 244, 200)
WHITE = (255, 255, 255)
KEY = (255, 0, 255)  # made transparent by the window; no drawn colour comes near it


def mix(a, b, t):
    """Colour a moved the fraction t of the way towards b."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def fog_background(w, h, horizon):
    img = Image.new("RGB", (w, h))
    draw = ImageDraw.Draw(img)
    for y in range(h):
        t = 0.0 if y < horizon else (y - horizon) / max(1, h - horizon)
        draw.line([(0, y), (w, y)], fill=mix(FOG_TOP, FOG_GROUND, t))
    return img


def track(draw, w, h, vanish, gauge, fog):
    """Two rails and their sleepers, running from the bottom edge to the vanishing point."""
    vx, vy = vanish
    left, right = w / 2 - gauge / 2, w / 2 + gauge / 2
    steps = 14
    for i in range(steps):
        t = (i / steps) ** 1.8  # sleepers crowd together towards the distance
        y = h - (h - vy) * t
        spread = 1 - t
        x0, x1 = vx + (left - vx) * spread, vx + (right - vx) * spread
        pad = gauge * 0.18 * spread
        colour = mix((92, 80, 66), fog, 0.25 + 0.7 * t)
        draw.line([(x0 - pad, y), (x1 + pad, y)], fill=colour, width=max(1, round(5 * spread * SCALE / 4)))
    for x in (left, right):
        draw.line([(x, h), (vx, vy)], fill=mix((70, 72, 76), fog, 0.35), width=SCALE * 2)


def masts(draw, w, h, horizon, fog):
    """Catenary masts on either side, fainter as they recede."""
    for i, (x, top, fade) in enumerate([(0.08, 0.20, 0.55), (0.92, 0.20, 0.55),
                                        (0.22, 0.30, 0.78), (0.78, 0.30, 0.78)]):
        colour = mix((60, 62, 66), fog, fade)
        px, py = x * w, top * h
        draw.line([(px, py), (px, horizon + (h - horizon) * (0.5 - 0.2 * (i // 2)))],
                  fill=colour, width=SCALE * (3 - i // 2))
        arm = (w / 2 - px) * 0.45
        draw.line([(px, py + SCALE * 2), (px + arm, py + SCALE * 2)], fill=colour, width=SCALE * 2)


def locomotive(draw, box, fog, haze):
    """Head-on view of a locomotive inside box (left, top, right, bottom); haze mixes it with fog."""
    l, t, r, b = box
    w, h = r - l, b - t
    c = lambda colour: mix(colour, fog, haze)
    draw.rounded_rectangle([l, t, r, b - h * 0.12], radius=w * 0.18, fill=c(BODY))
    draw.rectangle([l, t + h * 0.55, r, t + h * 0.64], fill=c(STRIPE))
    pane = w * 0.06
    draw.rounded_rectangle([l + pane, t + h * 0.12, l + w / 2 - pane / 2, t + h * 0.38],
                           radius=w * 0.05, fill=c(WINDOW))
    draw.rounded_rectangle([l + w / 2 + pane / 2, t + h * 0.12, r - pane, t + h * 0.38],
                           radius=w * 0.05, fill=c(WINDOW))
    draw.rectangle([l - w * 0.04, b - h * 0.16, r + w * 0.04, b - h * 0.06], fill=c(DARK))
    for x in (l + w * 0.12, r - w * 0.12):
        draw.ellipse([x - w * 0.06, b - h * 0.07, x + w * 0.06, b + h * 0.01], fill=c(DARK))
    return [(l + w * 0.22, t + h * 0.76), (r - w * 0.22, t + h * 0.76)]


def lamps(size, centres, radius, glow):
    """Head lamps with a soft glow, as a layer to be screened over the picture."""
    layer = Image.new("RGB", size, (0, 0, 0))
    draw = ImageDraw.Draw(layer)
    for x, y in centres:
        draw.ellipse([x - glow, y - glow, x + glow, y + glow], fill=mix((0, 0, 0), LAMP, 0.55))
    layer = layer.filter(ImageFilter.GaussianBlur(glow * 0.6))
    draw = ImageDraw.Draw(layer)
    for x, y in centres:
        draw.ellipse([x - radius, y - radius, x + radius, y + radius], fill=LAMP)
    return layer


def edge_fade(size, margin):
    """Coverage that fades to nothing towards the border."""
    w, h = size
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).rounded_rectangle([margin, margin, w - margin, h - margin],
                                           radius=margin * 2, fill=255)
    mask = mask.filter(ImageFilter.GaussianBlur(margin * 0.8))
    # The outermost pixel all round is background, whatever the blur left there.
    ImageDraw.Draw(mask).rectangle([0, 0, w - 1, h - 1], outline=0, width=SCALE)
    return mask


def front_fog(img, horizon):
    """A thin veil of fog over everything, thicker near the horizon."""
    w, h = img.size
    veil = Image.new("L", (w, h), 0)
    draw = ImageDraw.Draw(veil)
    for y in range(h):
        d = abs(y - horizon) / h
        draw.line([(0, y), (w, y)], fill=round(70 * max(0.0, 1 - 2.2 * d)))
    return Image.composite(Image.new("RGB", (w, h), FOG_TOP), img, veil)


def scene(w, h, horizon, gauge, with_masts, train_box, background):
    """Masts, track and locomotive on a flat background; returns the picture and lamp centres."""
    img = Image.new("RGB", (w, h), background)
    draw = ImageDraw.Draw(img)
    fog = mix(FOG_TOP, FOG_GROUND, 0.2)
    if with_masts:
        masts(draw, w, h, horizon, fog)
    track(draw, w, h, (w / 2, horizon), gauge * SCALE, fog)
    centres = locomotive(draw, [v * SCALE for v in train_box], fog, 0.30)
    return img, centres


def render(size, train_box, horizon, gauge, with_masts, glow, lamp_radius, margin):
    """The scene at SCALE times size, composited on white, and how much of each pixel it covers."""
    w, h = size[0] * SCALE, size[1] * SCALE
    horizon *= SCALE
    # Drawn once on black and once on white: where the two agree, the scene covers the pixel.
    on_black, centres = scene(w, h, horizon, gauge, with_masts, train_box, (0, 0, 0))
    on_white, _ = scene(w, h, horizon, gauge, with_masts, train_box, WHITE)
    spread = ImageChops.difference(on_black, on_white).convert("L")
    covered = spread.point(lambda v: 255 if v == 0 else 0)
    covered = ImageChops.multiply(covered, edge_fade((w, h), margin * SCALE))

    img = front_fog(on_black, horizon)
    img = ImageChops.screen(img, lamps(img.size, centres, lamp_radius * SCALE, glow * SCALE))
    img = Image.composite(img, Image.new("RGB", (w, h), WHITE), covered)
    return img, covered


def picture(size, *layout):
    img, covered = render(size, *layout)
    img = img.resize(size, Image.LANCZOS)
    # An exact average, so a pixel with no part of the scene in it has no coverage at all.
    covered = covered.resize(size, Image.BOX)
    scene_mask = covered.point(lambda v: 255 if v > 2 else 0)
    out = Image.composite(img, Image.new("RGB", size, KEY), scene_mask)
    if out.getpixel((0, size[1] - 1)) != KEY:
        raise SystemExit("the bottom-left pixel must hold the key colour")
    return out


def app_icons():
    """The program's icon at the usual sizes: the About window's small picture, drawn large
    (every line keeps its proportion) and scaled down, on a transparent background."""
    global SCALE
    SCALE = 4 * 256 // 48 + 4  # enough detail for the largest size
    try:
        img, covered = render((48, 48), *ICON_LAYOUT)
    finally:
        SCALE = 4
    icons = {}
    for n in ICON_SIZES:
        icon = img.resize((n, n), Image.LANCZOS).convert("RGBA")
        icon.putalpha(covered.resize((n, n), Image.BOX))
        icons[n] = icon
    return icons


def main() -> None:
    OUT.mkdir(parents=True, exist_ok=True)
    train = picture((120, 130), (34, 44, 86, 104), 62, 92, True, 9, 3.2, 5)
    icon = picture((48, 48), *ICON_LAYOUT)
    for name, img in (("about_train.png", train), ("about_icon.png", icon)):
        target = OUT / name
        img.convert("RGB").save(target, optimize=False)
        print(target.relative_to(ROOT), img.size)
    icons = app_icons()
    ICON_OUT.mkdir(parents=True, exist_ok=True)
    for n, img in icons.items():
        target = ICON_OUT / f"zel-nevora-{n}.png"
        img.save(target, optimize=True)
        print(target.relative_to(ROOT), img.size)
    # The Windows executable's own icon (Explorer, taskbar before the window exists).
    icons[256].save(ICON_OUT / "zel-nevora.ico", sizes=[(n, n) for n in ICON_SIZES])


if __name__ == "__main__":
    main()
