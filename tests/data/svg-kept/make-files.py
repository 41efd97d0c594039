#!/usr/bin/python3
"""Writes the small SVG files of this folder: one per thing editors and exporters put in a file.

Run it from anywhere; it writes next to itself. The files are committed, so that the tests never depend on
this script's output changing.
"""
import base64
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SVG_NS = 'xmlns="http://www.w3.org/2000/svg"'
XLINK_NS = 'xmlns:xlink="http://www.w3.org/1999/xlink"'
EDITOR_NS = ('xmlns:inkscape="http://www.inkscape.org/namespaces/inkscape" '
             'xmlns:sodipodi="http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd"')

files = {}


def page(body, size='width="200" height="150" viewBox="0 0 200 150"', extra=''):
    return f'<?xml version="1.0" encoding="UTF-8"?>\n<svg {SVG_NS} {XLINK_NS} {extra} {size}>\n{body}\n</svg>\n'


def add(name, text):
    assert name not in files, name
    files[name] = text


def png_data_uri():
    """A 4 x 4 red and blue checker as a PNG, written here rather than read from anywhere."""
    rows = b''
    for y in range(4):
        rows += b'\x00' + b''.join(bytes([255, 0, 0] if (x + y) % 2 else [0, 0, 255]) for x in range(4))

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)

    png = (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 4, 4, 8, 2, 0, 0, 0)) +
           chunk(b'IDAT', zlib.compress(rows)) + chunk(b'IEND', b''))
    return 'data:image/png;base64,' + base64.b64encode(png).decode()


SHAPES = [
    '<rect x="20" y="20" width="60" height="40"/>',
    '<rect x="20" y="20" width="60" height="40" rx="8"/>',
    '<circle cx="100" cy="75" r="30"/>',
    '<ellipse cx="100" cy="75" rx="50" ry="20"/>',
    '<line x1="10" y1="10" x2="190" y2="140"/>',
    '<polyline points="10,140 60,20 110,120 160,30"/>',
    '<polygon points="100,10 180,140 20,140"/>',
    '<path d="M 20 130 C 40 10 160 10 180 130 Z"/>',
    '<path d="m 30 30 h 50 v 50 h -50 z m 100 0 l 40 40 l -40 40 z"/>',
    '<path d="M 20 75 Q 100 0 180 75 T 180 140"/>',
    '<path d="M 40 100 A 60 40 30 0 1 160 100"/>',
]

# Styles: presentation attributes, style attributes, sheets, inheritance.
STYLES = [
    'fill="#c83737" stroke="#000" stroke-width="3"',
    'style="fill:#2a7fff;stroke:#ff6600;stroke-width:4;stroke-dasharray:6,3"',
    'fill="none" stroke="green" stroke-width="2" stroke-linejoin="round" stroke-linecap="round"',
    'style="fill:rgb(10,200,30);fill-opacity:0.5;stroke:none"',
    'class="a"',
    'class="b" id="styled"',
    'fill="currentColor" color="#884400"',
    'opacity="0.6" fill="purple"',
]
SHEET = '<style>.a { fill: #ffcc00; stroke: #333; stroke-width: 2 } #styled { fill: teal } .b { stroke: red }</style>'
for i, shape in enumerate(SHAPES):
    for j, style in enumerate(STYLES):
        if (i + j) % 3:
            continue
        styled = shape.replace('/>', f' {style}/>')
        add(f'style-{i:02}-{j}.svg', page(SHEET + '\n' + styled))

# Text of every kind.
TEXTS = [
    '<text x="20" y="40" font-family="DejaVu Sans" font-size="20">Plain text</text>',
    '<text x="20" y="40" style="font:bold 16px DejaVu Sans;fill:#800">Bold <tspan fill="blue" dy="10">span</tspan></text>',
    '<text x="100" y="80" text-anchor="middle" font-size="14" font-family="DejaVu Sans">Centred &amp; escaped &lt;here&gt;</text>',
    '<defs><path id="curve" d="M 20 120 Q 100 20 180 120"/></defs><text font-size="12" font-family="DejaVu Sans"><textPath xlink:href="#curve">Along a curve</textPath></text>',
    '<text x="20" y="40" font-size="16" font-family="DejaVu Sans" xml:space="preserve">  spaced   out  </text>',
    '<text x="20" y="40" font-size="16" font-family="DejaVu Sans" transform="rotate(20 100 75)">Rotated <!-- a comment --> text</text>',
    '<text x="10 30 50 70" y="50" font-size="16" font-family="DejaVu Sans">ABCD</text>',
    '<text x="20" y="60" font-size="16" font-family="DejaVu Sans">&#x00C9;t&#233; &#8212; UTF-8: Grüße</text>',
]
for i, text in enumerate(TEXTS):
    add(f'text-{i}.svg', page(text + '\n<rect x="5" y="5" width="40" height="20" fill="none" stroke="black"/>'))

# Images.
IMAGE = png_data_uri()
add('image-0.svg', page(f'<image x="10" y="10" width="80" height="80" xlink:href="{IMAGE}"/>'))
add('image-1.svg', page(f'<image x="10" y="10" width="80" height="40" preserveAspectRatio="none" href="{IMAGE}"/>'
                        '<circle cx="150" cy="75" r="20"/>'))
add('image-2.svg', page(f'<g transform="rotate(15)"><image width="60" height="60" href="{IMAGE}" '
                        'style="image-rendering:pixelated"/></g><line x2="200" y2="150" stroke="red"/>'))
add('image-3.svg', page(f'<image x="100" y="10" width="60" height="60" href="{IMAGE}" opacity="0.5"/>'
                        '<rect width="50" height="50" fill="#eee"/>'))

# Instances: use of shapes, groups, symbols, nested svg; nested uses.
USES = [
    '<defs><rect id="r" width="20" height="10" fill="navy"/></defs><use href="#r" x="30" y="40"/>',
    '<defs><circle id="c" r="6" fill="red"/></defs><use xlink:href="#c" x="20" y="20"/><use xlink:href="#c" x="60" y="20"/><use xlink:href="#c" x="100" y="20" transform="scale(1.2)"/>',
    '<defs><g id="g"><rect width="10" height="10"/><circle cx="20" cy="5" r="5"/></g></defs><use href="#g" transform="translate(50 50) rotate(30)"/>',
    '<defs><symbol id="s" viewBox="0 0 10 10"><path d="M 0 0 L 10 5 L 0 10 Z"/></symbol></defs><use href="#s" x="20" y="20" width="40" height="40"/>',
    '<defs><symbol id="s" viewBox="0 0 10 20" preserveAspectRatio="xMinYMax meet"><rect width="10" height="20" fill="green"/></symbol></defs><use href="#s" width="80" height="40"/>',
    '<symbol id="s"><polyline points="0,0 10,10 20,0" fill="none" stroke="black"/></symbol><use href="#s" x="100" y="100"/>',
    '<defs><svg id="v" viewBox="0 0 4 4" width="40" height="40"><circle cx="2" cy="2" r="2"/></svg></defs><use href="#v" x="120" y="20"/>',
    '<defs><rect id="r" width="10" height="10"/><g id="row"><use href="#r"/><use href="#r" x="15"/><use href="#r" x="30"/></g></defs><use href="#row" y="20"/><use href="#row" y="40" x="5"/>',
    '<rect id="visible" x="10" y="10" width="30" height="30" fill="orange"/><use href="#visible" x="50"/>',
    '<g id="layer" transform="translate(20 10)"><path id="p" d="M 0 0 L 20 20"/></g><use href="#p" x="40" stroke="black"/>',
    '<defs><circle id="dot" r="3"/></defs><g transform="scale(2)"><use href="#dot" x="10" y="10"/><use href="#dot" x="30" y="10"/></g>',
    '<defs><path id="glyph" d="M 0 0 L 5 -10 L 10 0 M 2 -4 L 8 -4" fill="none" stroke="black"/></defs><use href="#glyph" x="20" y="50"/><use href="#glyph" x="32" y="50"/>',
    '<use href="#later" x="10"/><defs><rect id="later" width="10" height="10" fill="blue"/></defs>',
    '<defs><symbol id="s" viewBox="0 0 10 10"><circle cx="5" cy="5" r="5"/></symbol></defs><use href="#s" x="10" y="10" width="20%" height="20%"/>',
    '<defs><g id="hidden" style="display:none"><rect width="10" height="10"/></g></defs><use href="#hidden" x="10" y="10"/>',
    '<defs><g id="empty"/></defs><use href="#empty"/><rect width="10" height="10"/>',
]
for i, body in enumerate(USES):
    add(f'use-{i:02}.svg', page(body))

# Clip paths, masks, gradients, patterns, markers, filters.
PAINT = [
    '<defs><clipPath id="cp"><circle cx="100" cy="75" r="40"/></clipPath></defs><rect width="200" height="150" fill="blue" clip-path="url(#cp)"/>',
    '<defs><clipPath id="cp" clipPathUnits="objectBoundingBox"><rect width="0.5" height="1"/></clipPath></defs><circle cx="100" cy="75" r="50" clip-path="url(#cp)"/>',
    '<defs><mask id="m"><rect width="200" height="150" fill="white"/><circle cx="100" cy="75" r="30" fill="black"/></mask></defs><rect width="200" height="150" fill="green" mask="url(#m)"/>',
    '<defs><linearGradient id="lg"><stop offset="0" stop-color="red"/><stop offset="1" stop-color="blue"/></linearGradient></defs><rect x="10" y="10" width="180" height="130" fill="url(#lg)"/>',
    '<defs><radialGradient id="rg" cx="0.5" cy="0.5" r="0.5"><stop offset="0" stop-color="#fff"/><stop offset="1" stop-color="#000" stop-opacity="0.3"/></radialGradient></defs><circle cx="100" cy="75" r="60" fill="url(#rg)"/>',
    '<defs><linearGradient id="base"><stop offset="0" stop-color="gold"/><stop offset="1" stop-color="brown"/></linearGradient><linearGradient id="lg" xlink:href="#base" gradientTransform="rotate(45)" gradientUnits="userSpaceOnUse" x1="0" x2="200"/></defs><ellipse cx="100" cy="75" rx="90" ry="60" fill="url(#lg)"/>',
    '<defs><pattern id="pt" width="20" height="20" patternUnits="userSpaceOnUse"><circle cx="10" cy="10" r="5" fill="red"/></pattern></defs><rect width="200" height="150" fill="url(#pt)"/>',
    '<defs><marker id="arrow" viewBox="0 0 10 10" refX="10" refY="5" markerWidth="6" markerHeight="6" orient="auto"><path d="M 0 0 L 10 5 L 0 10 z"/></marker></defs><polyline points="20,130 100,20 180,130" fill="none" stroke="black" marker-end="url(#arrow)"/>',
    '<defs><filter id="f"><feGaussianBlur stdDeviation="3"/></filter></defs><rect x="50" y="40" width="100" height="70" fill="blue" filter="url(#f)"/>',
    '<defs><filter id="f" x="-20%" y="-20%" width="140%" height="140%"><feOffset dx="4" dy="4"/><feColorMatrix type="saturate" values="0"/></filter></defs><circle cx="100" cy="75" r="40" fill="red" filter="url(#f)"/>',
    '<defs><clipPath id="cp"><use href="#shape"/></clipPath><rect id="shape" x="40" y="30" width="120" height="90"/></defs><circle cx="100" cy="75" r="70" fill="orange" clip-path="url(#cp)"/>',
    '<g opacity="0.5"><rect width="100" height="100" fill="red"/><rect x="50" y="50" width="100" height="100" fill="blue"/></g>',
]
for i, body in enumerate(PAINT):
    add(f'paint-{i:02}.svg', page(body))

# Metadata, the editors' own elements, comments, processing instructions, DOCTYPE.
META = [
    ('<title>A title</title><desc>A description, with &amp; an entity</desc><rect width="50" height="50"/>', ''),
    ('<metadata><rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#" xmlns:dc="http://purl.org/dc/elements/1.1/"><rdf:Description><dc:title>Plan</dc:title><dc:creator>Someone</dc:creator></rdf:Description></rdf:RDF></metadata><circle cx="50" cy="50" r="20"/>', ''),
    ('<sodipodi:namedview id="nv" pagecolor="#ffffff" inkscape:zoom="1.5" inkscape:cx="100" inkscape:cy="75" inkscape:current-layer="l1"/><g id="l1" inkscape:groupmode="layer" inkscape:label="Drawing"><rect x="10" y="10" width="50" height="30" sodipodi:type="rect"/></g>', EDITOR_NS),
    ('<!-- made by hand --><?editor keep="this"?><rect width="40" height="40"/><!-- another -->', ''),
    ('<g id="a" data-note="custom data" aria-label="group"><path d="M 10 10 L 100 100" stroke="black"/></g>', ''),
    ('<foreign:thing xmlns:foreign="http://example.org/ns" foreign:value="1"><foreign:child/></foreign:thing><line x2="100" y2="100" stroke="black"/>', ''),
    ('<switch><rect width="60" height="60" requiredFeatures="http://www.w3.org/TR/SVG11/feature#Shape"/><text y="20">fallback</text></switch>', ''),
    ('<a href="https://example.org/"><rect x="20" y="20" width="60" height="60" fill="blue"/></a>', ''),
    ('<g inkscape:label="plain group" sodipodi:insensitive="true"><circle cx="60" cy="60" r="30"/></g>', EDITOR_NS),
    ('<rect width="50" height="50" fill="red">\r\n  <animate attributeName="x" from="0" to="100" dur="2s"/>\r\n</rect>', ''),
]
for i, (body, extra) in enumerate(META):
    add(f'meta-{i}.svg', page(body, extra=extra))
add('meta-doctype.svg', '<?xml version="1.0" encoding="UTF-8" standalone="no"?>\n'
    '<!DOCTYPE svg PUBLIC "-//W3C//DTD SVG 1.1//EN" "http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd" [\n'
    '  <!ENTITY ns_svg "http://www.w3.org/2000/svg">\n  <!ENTITY ns_flows "http://ns.example.com/Flows/1.0/">\n]>\n'
    '<svg xmlns="&ns_svg;" xmlns:x="&ns_flows;" width="200" height="150" viewBox="0 0 200 150">\n'
    '<rect x="10" y="10" width="80" height="60" style="fill:#00ff00"/>\n</svg>\n')
add('meta-single-quotes.svg', "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'>"
    "<text x='10' y='50' font-family='DejaVu Sans' data-q='say \"hi\"'>quoted</text>"
    "<rect x='50' y='50' width='20' height='20'/></svg>")
add('meta-prefixed.svg', '<svg:svg xmlns:svg="http://www.w3.org/2000/svg" width="100" height="100">'
    '<svg:rect x="10" y="10" width="30" height="30" fill="green"/></svg:svg>')
add('error-root-zero.svg', page('<rect width="50" height="50"/>', size='width="0" height="100"'))
add('meta-no-declaration.svg', f'<svg {SVG_NS} width="100" height="100"><path d="M0,0L100,100" stroke="black"/></svg>')

# Nested svg elements.
NESTED = [
    '<svg x="10" y="10" width="80" height="80" viewBox="0 0 10 10"><circle cx="5" cy="5" r="4"/></svg>',
    '<svg x="100" width="100" height="50" viewBox="0 0 20 20" preserveAspectRatio="xMaxYMin slice"><rect width="20" height="20" fill="red"/></svg>',
    '<svg width="50%" height="50%"><rect width="100%" height="100%" fill="green"/></svg>',
    '<svg x="20" y="20" width="60" height="60" overflow="visible"><line x2="100" y2="100" stroke="black"/></svg>',
    '<svg viewBox="0 0 100 100" width="100" height="100" preserveAspectRatio="none"><svg viewBox="0 0 10 10" width="50" height="80"><rect width="10" height="10"/></svg></svg>',
    '<g transform="translate(30 30)"><svg width="40" height="40" viewBox="-1 -1 2 2"><circle r="1" fill="blue"/></svg></g>',
]
for i, body in enumerate(NESTED):
    add(f'nested-{i}.svg', page(body))

# Every unit, on the root and on shapes.
UNITS = ['', 'px', 'pt', 'pc', 'mm', 'cm', 'in', 'Q']
for unit in UNITS:
    add(f'unit-root-{unit or "plain"}.svg',
        page('<rect x="1" y="1" width="8" height="6" fill="none" stroke="black" stroke-width="0.2"/>',
             size=f'width="10{unit}" height="8{unit}" viewBox="0 0 10 8"'))
    add(f'unit-shape-{unit or "plain"}.svg',
        page(f'<rect x="1{unit}" y="1{unit}" width="2{unit}" height="1{unit}"/><circle cx="3{unit}" cy="2{unit}" r="0.5{unit}"/>'))
for unit in ['%', 'em', 'ex', 'ch', 'rem', 'vw', 'vh', 'vmin', 'vmax']:
    name = {'%': 'percent'}.get(unit, unit)
    add(f'unit-shape-{name}.svg', page(f'<rect x="2{unit}" y="2{unit}" width="5{unit}" height="3{unit}"/>'
                                        '<line x2="200" y2="150" stroke="black"/>'))
add('unit-root-percent.svg', page('<rect width="50" height="50"/>', size='width="100%" height="100%" viewBox="0 0 100 100"'))
add('unit-root-none.svg', page('<rect width="50" height="50"/>', size=''))
add('unit-root-auto.svg', page('<rect width="50" height="50"/>', size='width="auto" height="60" viewBox="0 0 100 100"'))
for i, aspect in enumerate(['xMinYMin meet', 'xMidYMid slice', 'xMaxYMax meet', 'none']):
    add(f'unit-aspect-{i}.svg', page('<circle cx="50" cy="50" r="40" fill="#ccc"/>',
                                     size=f'width="300" height="100" viewBox="0 0 100 100" preserveAspectRatio="{aspect}"'))

# What a renderer draws in part, or not at all, but the file keeps.
ERRORS = [
    '<path d="M 10 10 L 100 10 L 100 x L 10 100" stroke="black" fill="none"/>',
    '<path d="M 10 10 L 50 50 Z M 60 60 L 70 q" stroke="black"/>',
    '<rect x="10" y="10" width="-20" height="30"/><circle cx="100" cy="75" r="20"/>',
    '<circle cx="50" cy="50" r="-5"/><ellipse cx="100" cy="75" rx="0" ry="20"/><line x2="80" y2="80" stroke="black"/>',
    '<polygon points="10,10 100,10 100,100 10"/>',
    '<polyline points="10 10 50 50 90 10 130" fill="none" stroke="black"/>',
    '<rect x="1zz" width="20" height="20"/><rect x="30" width="20" height="20"/>',
    '<line x2="10 parsecs" stroke="black"/><line x2="100" y2="50" stroke="black"/>',
    '<g transform="frob(2)"><rect width="20" height="20"/></g><rect x="40" width="20" height="20"/>',
    '<rect width="20" height="20" transform="rotate(45"/><rect x="40" width="20" height="20"/>',
    '<use href="#missing"/><use href="http://example.org/file.svg#r"/><rect x="40" width="20" height="20"/>',
    '<g id="self"><use href="#self" x="10"/><rect width="10" height="10"/></g>',
    '<line x1="nan" x2="100" stroke="black"/><line x1="inf" x2="100" stroke="black"/><rect width="10" height="10"/>',
    '<path d="M 0 0 L 1e400 0" stroke="black"/><rect width="10" height="10"/>',
]
for i, body in enumerate(ERRORS):
    add(f'error-{i:02}.svg', page(body))
add('error-root-width.svg', page('<rect width="50" height="50"/>', size='width="-10" height="100" viewBox="0 0 100 100"'))
add('error-root-viewbox.svg', page('<rect width="50" height="50"/>', size='width="100" height="100" viewBox="0 0 100"'))

# Transforms on shapes and groups.
TRANSFORMS = ['translate(20,10)', 'scale(1.5)', 'rotate(30 100 75)', 'skewX(20)', 'skewY(-10)',
              'matrix(0.8 0.2 -0.2 0.8 30 10)', 'translate(200 0) scale(-1 1)', 'scale(1 -1) translate(0 -150)']
for i, transform in enumerate(TRANSFORMS):
    shape = SHAPES[i % len(SHAPES)]
    add(f'transform-{i}.svg', page(f'<g transform="{transform}" fill="#ccc" stroke="black">'
                                   f'{shape}<g transform="translate(5 5)">{SHAPES[(i + 3) % len(SHAPES)]}</g></g>'))

# Layers as editors write them.
LAYERS = [
    '<g inkscape:groupmode="layer" id="layer1" inkscape:label="Base"><rect width="80" height="60" fill="#ddd"/></g>'
    '<g inkscape:groupmode="layer" id="layer2" inkscape:label="Ink" style="display:inline"><path d="M 10 10 L 150 120" stroke="black"/></g>',
    '<g inkscape:groupmode="layer" id="layer1" inkscape:label="Hidden" style="display:none"><circle cx="50" cy="50" r="30"/></g>'
    '<g inkscape:groupmode="layer" id="layer2" inkscape:label="Locked" sodipodi:insensitive="true"><rect x="100" width="50" height="50"/></g>',
    '<sodipodi:namedview inkscape:current-layer="top"/><g inkscape:groupmode="layer" id="bottom" inkscape:label="Bottom" transform="translate(10 10)"><rect width="30" height="30"/></g>'
    '<g inkscape:groupmode="layer" id="top" inkscape:label="Top" transform="scale(2)"><circle cx="50" cy="30" r="10" fill="red"/></g>',
    '<g inkscape:groupmode="layer" inkscape:label="With text"><text x="10" y="30" font-family="DejaVu Sans">label</text><line x2="100" y2="100" stroke="blue"/></g>',
    '<g inkscape:groupmode="layer" inkscape:label="Outer"><g inkscape:groupmode="layer" inkscape:label="Sublayer"><rect width="40" height="40"/></g></g>',
]
for i, body in enumerate(LAYERS):
    add(f'layer-{i}.svg', page(body, extra=EDITOR_NS))

# Exporters' habits.
add('export-plot.svg', page('<defs><path id="m0" d="M 0 3 C 0.8 3 1.56 2.68 2.12 2.12 C 2.68 1.56 3 0.8 3 0 '
                            'C 3 -0.8 2.68 -1.56 2.12 -2.12 C 1.56 -2.68 0.8 -3 0 -3 C -0.8 -3 -1.56 -2.68 -2.12 -2.12 '
                            'C -2.68 -1.56 -3 -0.8 -3 0 C -3 0.8 -2.68 1.56 -2.12 2.12 C -1.56 2.68 -0.8 3 0 3 z" '
                            'style="stroke:#1f77b4"/></defs><g clip-path="url(#c)"><use xlink:href="#m0" x="20" y="100" '
                            'style="fill:#1f77b4;stroke:#1f77b4"/><use xlink:href="#m0" x="60" y="60" style="fill:#1f77b4"/>'
                            '<use xlink:href="#m0" x="100" y="80" style="fill:#1f77b4"/></g><clipPath id="c"><rect width="180" height="130"/></clipPath>',
                            size='width="200pt" height="150pt" viewBox="0 0 200 150"'))
add('export-cad.svg', page('<g stroke="black" stroke-width="0.25" fill="none"><line x1="0" y1="0" x2="100" y2="0"/>'
                           '<line x1="100" y1="0" x2="100" y2="60"/><circle cx="50" cy="30" r="10"/>'
                           '<path d="M 10 50 A 10 10 0 0 0 30 50"/></g>', size='width="100mm" height="60mm" viewBox="0 0 100 60"'))
add('export-gnuplot.svg', page('<g id="gnuplot_canvas"><rect x="0" y="0" width="200" height="150" fill="none"/>'
                               '<defs><path id="gpPt0" stroke-width="0.222" stroke="currentColor" d="M-1,0 h2 M0,-1 v2"/></defs>'
                               '<g fill="none" color="red" stroke="currentColor" stroke-width="1.00"><use xlink:href="#gpPt0" '
                               'transform="translate(50,50) scale(4.5)" color="rgb(148,0,211)"/><path d="M 20 130 L 60 80 L 100 100 L 180 20"/></g>'
                               '<text><tspan font-family="Arial">Axis</tspan></text></g>'))

for name, text in sorted(files.items()):
    with open(os.path.join(HERE, name), 'w', encoding='utf-8', newline='') as out:
        out.write(text)
print(len(files), 'files')
