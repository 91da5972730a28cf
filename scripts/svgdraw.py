# Small SVG writing helpers shared by the scripts that draw Kestrava's pictures
# (make-tarot-cards, make-rune-stones).  Everything returns markup as a string;
# numbers are written with at most two decimals, so that running a script again
# rewrites the same bytes.

from xml.sax.saxutils import escape


# --------------------------------------------------------------------------
# Numbers, attributes and elements


def fmt(v):
    if isinstance(v, float):
        s = f"{v:.2f}".rstrip("0").rstrip(".")
        return "0" if s in ("-0", "") else s
    return str(v)


def attrs(a):
    """Keyword arguments as attributes: stroke_width -> stroke-width, a trailing
    underscore dropped (class_ -> class), None left out."""
    out = []
    for k, v in a.items():
        if v is None:
            continue
        k = k.rstrip("_").replace("_", "-")
        out.append(f'{k}="{escape(fmt(v), {chr(34): "&quot;"})}"')
    return (" " + " ".join(out)) if out else ""


def el(tag, **a):
    return f"<{tag}{attrs(a)}/>"


def g(*children, **a):
    inner = "".join(c for c in flatten(children))
    return f"<g{attrs(a)}>{inner}</g>"


def flatten(items):
    for i in items:
        if isinstance(i, (list, tuple)):
            yield from flatten(i)
        elif i:
            yield i


# --------------------------------------------------------------------------
# Shapes and text


def rect(x, y, w, h, **a):
    return el("rect", x=x, y=y, width=w, height=h, **a)


def circle(cx, cy, r, **a):
    return el("circle", cx=cx, cy=cy, r=r, **a)


def ellipse(cx, cy, rx, ry, **a):
    return el("ellipse", cx=cx, cy=cy, rx=rx, ry=ry, **a)


def line(x1, y1, x2, y2, **a):
    return el("line", x1=x1, y1=y1, x2=x2, y2=y2, **a)


def pt(p):
    """A point as a path's coordinates: "x y"."""
    return f"{fmt(float(p[0]))} {fmt(float(p[1]))}"


def pts(points):
    """Points as a polygon's list: "x,y x,y ..."."""
    return " ".join(f"{fmt(float(x))},{fmt(float(y))}" for x, y in points)


def poly(points, **a):
    return el("polygon", points=pts(points), **a)


def pline(points, **a):
    return el("polyline", points=pts(points), fill=a.pop("fill", "none"), **a)


def path(d, **a):
    return el("path", d=" ".join(d.split()), **a)


def text(x, y, s, **a):
    return f"<text{attrs(dict(x=x, y=y, **a))}>{escape(s)}</text>"


def tf(x=0, y=0, rot=0, s=1, sx=None, sy=None):
    """A transform attribute's value: move, then turn, then scale; None for none."""
    parts = []
    if x or y:
        parts.append(f"translate({fmt(float(x))} {fmt(float(y))})")
    if rot:
        parts.append(f"rotate({fmt(float(rot))})")
    if sx is not None or sy is not None:
        parts.append(f"scale({fmt(float(sx or 1))} {fmt(float(sy or 1))})")
    elif s != 1:
        parts.append(f"scale({fmt(float(s))})")
    return " ".join(parts) or None


# --------------------------------------------------------------------------
# Gradients: stops are (offset, colour) or (offset, colour, opacity)


def stops(items):
    out = []
    for item in items:
        offset, colour = item[0], item[1]
        opacity = item[2] if len(item) > 2 else None
        out.append(el("stop", offset=offset, stop_color=colour, stop_opacity=opacity))
    return "".join(out)


def linear(id_, items, x1=0, y1=0, x2=0, y2=1):
    return (f"<linearGradient{attrs(dict(id=id_, x1=x1, y1=y1, x2=x2, y2=y2))}>"
            f"{stops(items)}</linearGradient>")


def radial(id_, items, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None):
    return (f"<radialGradient{attrs(dict(id=id_, cx=cx, cy=cy, r=r, fx=fx, fy=fy))}>"
            f"{stops(items)}</radialGradient>")


# --------------------------------------------------------------------------
# Colours, as #rrggbb


def rgb(hex_):
    return tuple(int(hex_[i:i + 2], 16) for i in (1, 3, 5))


def hexc(c):
    return "#" + "".join(f"{max(0, min(255, round(v))):02x}" for v in c)


def mix(a, b, t):
    """The colour a fraction t of the way from a to b."""
    ca, cb = rgb(a), rgb(b)
    return hexc(tuple(x + (y - x) * t for x, y in zip(ca, cb)))
