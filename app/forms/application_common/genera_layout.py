#!/usr/bin/env python3
"""Writes layout_table.inc, the rows of the application form's layout.

The page's texts and controls flow from top to bottom; the generator
measures the Arial texts with the standard width table of the PDF writer
(pdf/text/standard_widths.cpp, the same advance widths as Arial) so that the
boxes that sit inside a paragraph (the deliberation date at the end of the
notice paragraph, the amounts in the blank stretches of the request lines)
land on their blanks. Run it from the project folder after changing a text:

    python3 app/forms/application_common/genera_layout.py
"""

import math
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
OUT = os.path.join(ROOT, "app", "forms", "application_common", "layout_table.inc")


def load_widths():
    src = open(os.path.join(ROOT, "pdf", "text", "standard_widths.cpp"), encoding="utf-8").read()
    m = re.search(r"kArialWidths\[4\] = \{(.*?)\n\};", src, re.S)
    blocks = re.findall(r"\{([^{}]*)\}", m.group(1))
    return [[int(x) for x in b.replace("\n", " ").split(",") if x.strip()] for b in blocks]


WIDTHS = load_widths()


def text_width(text, points=12.0, bold=False):
    """Width in twips of a UTF-8 text drawn in Arial."""
    table = WIDTHS[1 if bold else 0]
    raw = text.encode("cp1252")
    return sum(table[b] for b in raw) * points * 20 / 1000.0


LINE = 285          # line height of Arial 12, twips (19 pixels)
BOX_H = 285         # text box height (Arial 8.25 bold)
COMBO_H = 315
CHECK_H = 330
PAGE_W = 10095
LETTER_X = 240      # column of the section letters
X0 = 720            # left edge of the page's content
RIGHT = PAGE_W - 240
CONTENT_W = RIGHT - X0
WRAP_SAFETY = 0.96  # room for a renderer whose text is a little wider
# A box that sits inside a paragraph must land on its blanks whatever the
# renderer's exact wrapping width: the placement is computed for each of
# these fractions of the label's width and must come out the same.
WRAP_FACTORS = [0.93 + 0.01 * k for k in range(8)]


def wrap(text, width, points=12.0, bold=False, factor=WRAP_SAFETY):
    """Greedy word wrap as a label does; returns the lines (blank runs kept).
    A "\n" in the text ends a line."""
    lines = []
    for paragraph in text.split("\n"):
        tokens = re.findall(r" +|[^ ]+", paragraph)
        cur = ""
        for t in tokens:
            if text_width(cur + t, points, bold) <= width * factor or not cur:
                cur += t
            elif t.startswith(" "):
                lines.append(cur)
                cur = ""
            else:
                lines.append(cur)
                cur = t
        lines.append(cur)
    return lines


rows = []


def q(s):
    return '"' + s.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n") + '"'


def add(tipo, nome, indice, left, top, width, height, testo="", tag="", maxlen=0, tab=-1,
        stato="kNessuno", stile="Normale", allin="Sinistra", cont="Frame2", per="Entrambe"):
    rows.append((tipo, per, nome, indice, cont, int(round(left)), int(round(top)), int(round(width)),
                 int(round(height)), testo, tag, maxlen, tab, stato, stile, allin))


# ---------------------------------------------------------------- tab order
TAB = {}
order = [("Text1", i) for i in range(18)] + [("Combo2", -1)] + [("Text1", i) for i in range(18, 24)]
order += [("Check3", i) for i in range(12)] + [("Text1", 24)] + [("Check3", i) for i in range(12, 17)]
order += [("Text1", 25)] + [("Option1", i) for i in range(3)]
for a in range(3):
    order += [("Option2", a), ("Combo1", a), ("Text1", 26 + a)]
order += [("Option3", 0), ("Option3", 1)]
order += [("Check1", 0), ("Text1", 29), ("Check1", 1), ("Text1", 30), ("Text1", 31), ("Check1", 2),
          ("Text1", 32), ("Text1", 33), ("Text1", 34)]
order += [("Check2", i) for i in range(12)] + [("Text1", 35)]
order += [("Command1", 0), ("Command1", 1), ("Command1", 2), ("VScroll1", -1), ("Command1", 3)]
for n, key in enumerate(order):
    TAB[key] = n

TEXT_TAGS = {3: "MA", 4: "DATA", 6: "MA", 9: "MANI", 11: "MA", 14: "NI", 15: "TEL", 16: "TEL",
             20: "NI", 21: "NI", 22: "DATA", 23: "DATA", 35: "DATA"}
for i in range(26, 29):
    TEXT_TAGS[i] = "NI"
for i in range(29, 35):
    TEXT_TAGS[i] = "ND2"
MAXLEN = {3: 2, 4: 10, 6: 2, 11: 2, 21: 2, 22: 10, 23: 10, 24: 250, 25: 250, 35: 10}
DATES = {4, 22, 23, 35}


def text_box(i, left, top, width, stato="kNessuno", per="Entrambe", cont="Frame2"):
    add("TextBox", "Text1", i, left, top, width, BOX_H, "gg/mm/aaaa" if i in DATES else "",
        TEXT_TAGS.get(i, ""), MAXLEN.get(i, 50), TAB[("Text1", i)], stato, "Campo", "Sinistra", cont, per)


label_index = [0]


def label(text, left, top, width=None, stile="Normale", allin="Sinistra", per="Entrambe",
          cont="Frame2", wrapped=False, index=None, points=12.0):
    bold = stile == "Grassetto"
    if width is None:
        width = math.ceil(text_width(text, points, bold) / 15.0 + 2) * 15
    lines = wrap(text, width, points, bold) if wrapped else [text]
    height = LINE * len(lines) + (9 if points == 12.0 else 60)
    if index is None:
        index = label_index[0]
        label_index[0] += 1
    add("Label", "Label2", index, left, top, width, height, text, stato="kACapo" if wrapped else "kNessuno",
        stile=stile, allin=allin, cont=cont, per=per)
    return index, lines, width, height


def para(text, top, left=X0, width=CONTENT_W, stile="Normale", per="Entrambe", index=None, allin="Sinistra"):
    idx, lines, w, h = label(text, left, top, width, stile, allin, per, wrapped=True, index=index)
    return top + h, lines


def field_row(top, items, per="Entrambe", x=X0):
    """A row of labels and boxes: items are text (label) or (index, width)."""
    for it in items:
        if isinstance(it, str):
            _, _, w, _ = label(it, x, top + 15, per=per)
            x += w + 30
        else:
            i, w = it
            if w is None:  # the last box of a row takes the rest of the line
                w = RIGHT - x
            text_box(i, x, top, w, per=per)
            x += w + 150
    assert x <= PAGE_W + 150, (items, x)
    return x


# ---------------------------------------------------------------- the page
y = 240
for variant, code in (("Condomini", "1.a"), ("Proprietari", "1.b")):
    first = ("cod. %s) Modello di sevrina da presentare, unitamente agli allegati, in duplice copia, a mano o "
             "a mezzo del Servizio Postale in busta chiusa con avviso di ricevimento a:" % code)
    end, _ = para(first, y, index=0, per=variant, stile="Normale")
label_index[0] = 1
y = end + 180
ADDRESSEE = ("Al Comune di Vareri", "Protocollo generale - Palazzo S. Giacomo", "piazza Municipio, 1",
             "80133 Vareri")
addr_w = math.ceil(max(text_width(t, 14.25) for t in ADDRESSEE) * 1.08 / 15.0) * 15
for line in ADDRESSEE:
    label(line, RIGHT - addr_w, y, addr_w, stile="Destinatario", points=14.25)
    y += 360
y += 300
shape_top = y
y += 120
end, _ = para("ISTANZA PER LA CONCESSIONE DI CONTRIBUTI RELATIVI AD INTERVENTI DI:", y, X0 + 120,
              CONTENT_W - 240, stile="Grassetto", allin="Centro")
y = end + 90
end, _ = para("Recupero delle parti comuni degli edifici del centro storico urbano, dei centri storici delle "
              "periferie e dei quartieri periferici, ai sensi dell'Avviso pubblico del Comune di Vareri approvato "
              "con delibera di giunta comunale n° 4349 del 28 dicembre 2007.", y, X0 + 120, CONTENT_W - 240,
              stile="Grassetto", allin="Centro")
y = end + 120
add("Shape", "Shape1", -1, X0, shape_top, CONTENT_W, y - shape_top, stato="kBordo")
y += 480

# A- the applicant
label("A-", LETTER_X, y + 15, stile="Grassetto")
ROW = 420
field_row(y, ["Il/la sottoscritto/a (nome)", (0, 2700), "(cognome)", (1, None)])
y += ROW
field_row(y, ["nato/a a (comune)", (2, 3300), "(provincia)", (3, 420), "il", (4, 1200)])
y += ROW
field_row(y, ["residente a (comune)", (5, 3300), "(provincia)", (6, 420)])
y += ROW
field_row(y, ["all' indirizzo", (7, 5400), "n.", (8, 900)])
y += ROW
field_row(y, ["c.f.:", (9, 2700)])
y += ROW
field_row(y, ["domiciliato per la carica in (comune)", (10, 2700), "(provincia)", (11, 420)])
y += ROW
field_row(y, ["all' indirizzo", (12, 4500), "n.", (13, 900), "cap", (14, 800)])
y += ROW
field_row(y, ["tel.", (15, 1800), "fax.", (16, 1800), "e-mail", (17, None)])
y += ROW
# The building's line: the condominium variant reads "in qualità di amministratore dell'immobile sito in "
# followed by the street; the owner variant has the applicant-type list in the blank of the line and
# the street on the next line. Both keep the same label slots.
slot = label_index[0]
label_index[0] += 2
_, _, w, _ = label("in qualità di amministratore dell'immobile sito in ", X0, y + 15, per="Condomini", index=slot)
text_box(18, X0 + w + 30, y, RIGHT - (X0 + w + 30), per="Condomini")
add("Label", "Label2", slot + 1, X0, y + 15, 15, LINE, "", stato="kNascosto", per="Condomini")
_, _, w, _ = label("in qualità di", X0, y + 15, per="Proprietari", index=slot)
combo_x = X0 + w + 60
add("ComboBox", "Combo2", -1, combo_x, y - 15, 2900, COMBO_H, tab=TAB[("Combo2", -1)], stile="Campo",
    per="Proprietari")
label("dell'immobile sito in ", combo_x + 2900 + 60, y + 15, per="Proprietari", index=slot + 1)
y += ROW
n_slot = label_index[0]
label_index[0] += 3


def building_row(x, per):
    _, _, w, _ = label("n.", x, y + 15, per=per, index=n_slot)
    x += w + 30
    text_box(19, x, y, 900, per=per)
    x += 900 + 150
    _, _, w, _ = label("cap", x, y + 15, per=per, index=n_slot + 1)
    x += w + 30
    text_box(20, x, y, 800, per=per)
    x += 800 + 150
    _, _, w, _ = label("municipalità", x, y + 15, per=per, index=n_slot + 2)
    x += w + 30
    text_box(21, x, y, 420, stato="kBloccato", per=per)
    assert x + 420 <= PAGE_W


building_row(X0, "Condomini")
text_box(18, X0, y, 4000, per="Proprietari")
building_row(X0 + 4000 + 150, "Proprietari")
y += ROW
slot = label_index[0]
label_index[0] += 1
_, _, w, _ = label("autorizzato alla presente istanza giusta delibera condominiale del", X0, y + 15,
                   per="Condomini", index=slot)
text_box(22, X0 + w + 30, y, 1200, per="Condomini")
label("autorizzato alla presente giusta delega che si allega in duplice copia", X0, y + 15,
      per="Proprietari", index=slot)
text_box(22, X0 + w + 30, y, 1200, stato="kNascosto", per="Proprietari")
y += ROW + 360

# PREMESSO, B-
label("PREMESSO", X0, y, CONTENT_W, stile="Grassetto", allin="Centro")
y += LINE + 240
label("B-", LETTER_X, y, stile="Grassetto")
notice = ("che ha preso visione dell'Avviso Pubblico e delle modalità in esso previste per la richiesta e per "
          "la concessione dei contributi a fondo perduto;")
slot = label_index[0]
label_index[0] += 1
end_c, lines = para(notice + " che con verbale del", y, per="Condomini", index=slot)
ways = {tuple(wrap(notice + " che con verbale del", CONTENT_W, factor=f)) for f in WRAP_FACTORS}
last_w = text_width(lines[-1])
box_x = X0 + last_w + 90
box_y = y + LINE * (len(lines) - 1) - 5
if len(ways) > 1 or box_x + 1200 > X0 + CONTENT_W * min(WRAP_FACTORS):
    # The last line's end is not certain, or has no room: the box starts the line below.
    box_x = X0
    box_y = y + LINE * max(len(w) for w in ways) - 5
    end_c = max(end_c, box_y + BOX_H + 5)
text_box(23, box_x, box_y, 1200, per="Condomini")
end_p, _ = para(notice, y, per="Proprietari", index=slot)
text_box(23, box_x, box_y, 1200, stato="kNascosto", per="Proprietari")
y = max(end_c, end_p) + 150
slot = label_index[0]
label_index[0] += 1
end_c, _ = para("il condominio ha deliberato l'approvazione del progetto per l'esecuzione di interventi "
                "riguardanti:", y, per="Condomini", index=slot)
end_p, _ = para("che il sottoscritto (ovvero i comproprietari), ha (ovvero hanno) deciso l'esecuzione di "
                "interventi riguardanti:", y, per="Proprietari", index=slot)
y = max(end_c, end_p) + 150

WORKS = ["Facciate ", "Ripristino fascia basamentale", "Ripristino elementi decorativi in facciata",
         "Cortile e/o aree esterne", "Cassa scale", "Androne ", "Locali condominiali", "Copertura",
         "Strutture portanti", "Fondazioni", "Eliminazione delle barriere architettoniche",
         "Altro intervento (specificare)", "Impianto ascensore", "Impianto di riscaldamento condominiale",
         "Impianto elettrico e/o citofonico e/o antenna centralizzata",
         "Impianto di smaltimento delle acque meteoriche e/o impianto fognario",
         "Altri impianti (specificare)"]
for i, cap in enumerate(WORKS):
    w = math.ceil((text_width(cap) + 420) / 15.0) * 15
    add("CheckBox", "Check3", i, X0 + 240, y, w, CHECK_H, cap, tab=TAB[("Check3", i)])
    if i in (11, 16):
        bx = X0 + 240 + w + 120
        text_box(24 if i == 11 else 25, bx, y + 20, RIGHT - bx, stato="kDisabilitato")
    y += CHECK_H + 60
y += 150
end, _ = para("che i lavori da eseguirsi di:", y)
y = end + 60
frame3_top = y
TYPES = ["manutenzione ordinaria", "manutenzione straordinaria", "restauro e risanamento conservativo"]
add("Frame", "Frame3", -1, X0 + 240, frame3_top, 5400, 3 * (CHECK_H + 60) + 60)
for i, cap in enumerate(TYPES):
    add("OptionButton", "Option1", i, 0, 60 + i * (CHECK_H + 60), 5280, CHECK_H, cap,
        tab=TAB[("Option1", i)], cont="Frame3")
y = frame3_top + 3 * (CHECK_H + 60) + 120
end, _ = para("rientrano tra quelli definiti dall'art. 3, lettere a), b), c), del DPR 6 giugno 2001 n. 380 e "
              "successive modifiche ed integrazioni, relativi alle parti comuni degli edifici come previsto "
              "dall'art. 2 comma 2 dell'Avviso Pubblico;", y)
y = end + 240
end, _ = para("che l'immobile ricade nell'ambito:", y)
y = end + 60

# Frame4: three columns, one per area.
AREAS = ["centro storico urbano", "centro storico delle periferie", "quartiere periferico"]
FRAME4_X = 120  # the frame takes the page's whole width: its captions are long
col_w = (PAGE_W - 2 * FRAME4_X) // 3
frame4_h = 60 + CHECK_H + 90 + LINE + 30 + COMBO_H + 90 + LINE + 30 + BOX_H + 60
add("Frame", "Frame4", -1, FRAME4_X, y, PAGE_W - 2 * FRAME4_X, frame4_h)
q_slots = label_index[0]
label_index[0] += 6
for a, cap in enumerate(AREAS):
    cx = a * col_w + 30
    assert text_width(cap) + 300 <= col_w - 30, cap
    yy = 60
    add("OptionButton", "Option2", a, cx, yy, col_w - 30, CHECK_H, cap, tab=TAB[("Option2", a)], cont="Frame4")
    yy += CHECK_H + 90
    label("Quartiere", cx + 240, yy, cont="Frame4", index=q_slots + a)
    yy += LINE + 30
    add("ComboBox", "Combo1", a, cx + 240, yy, col_w - 480, COMBO_H, tab=TAB[("Combo1", a)],
        stato="kDisabilitato", stile="Campo", cont="Frame4")
    yy += COMBO_H + 90
    label("Municipalità", cx + 240, yy, cont="Frame4", index=q_slots + 3 + a)
    yy += LINE + 30
    text_box(26 + a, cx + 240, yy, 600, stato="kDisabilitato", cont="Frame4")
y += frame4_h + 240
end, _ = para("che l'immobile rientra nella seguente fascia dimensionale:", y)
y = end + 60
BANDS = ["volume fuori terra, calcolato vuoto per pieno, pari o inferiore a 30.000,00 mc",
         "volume fuori terra, calcolato vuoto per pieno, superiore a 30.000,00 mc"]
for i, cap in enumerate(BANDS):
    w = math.ceil((text_width(cap) + 420) / 15.0) * 15
    assert X0 + 240 + w <= RIGHT
    add("OptionButton", "Option3", i, X0 + 240, y, w, CHECK_H, cap, tab=TAB[("Option3", i)],
        stato="kDisabilitato")
    y += CHECK_H + 60
y += 180
end, _ = para("che si possiedono i requisiti richiesti per accedere ai contributi,", y)
y = end + 360

# CHIEDE, C-
label("CHIEDE", X0, y, CONTENT_W, stile="Grassetto", allin="Centro")
y += LINE + 240
label("C-", LETTER_X, y, stile="Grassetto")
BLANK = text_width(" ")
AMOUNT_BLANKS = 18   # a stretch for an amount box
PERCENT_BLANKS = 12  # a stretch for a percentage box: "100,00" shows whole


def place_tokens(text, width, factor):
    """Like wrap(), but gives each token's line and left offset."""
    placed, line = [], 0
    for n, paragraph in enumerate(text.split("\n")):
        if n:
            line += 1
        cur = ""
        for t in re.findall(r" +|[^ ]+", paragraph):
            if text_width(cur + t) <= width * factor or not cur:
                placed.append((t, line, text_width(cur)))
                cur += t
            elif t.startswith(" "):
                placed.append((t, None, None))  # swallowed by the line break
                line += 1
                cur = ""
            else:
                line += 1
                placed.append((t, line, 0.0))
                cur = t
    return placed


def request_line(parts, boxes, check, y):
    """parts: the texts around the blank stretches; boxes: (index, blanks) for each stretch."""
    text = parts[0]
    for (i, n), after in zip(boxes, parts[1:]):
        text += " " * n + after
    def stretches_at(factor):
        placed = place_tokens(text, CONTENT_W, factor)
        return [p for p in placed if p[0].startswith(" ") and len(p[0]) >= PERCENT_BLANKS]

    stretches = stretches_at(WRAP_SAFETY)
    for factor in WRAP_FACTORS:
        assert stretches_at(factor) == stretches, ("a blank stretch moves with the wrapping width", parts)
    assert len(stretches) == len(boxes), stretches
    top, _ = para(text, y)  # the label first: the boxes lie over its blanks
    for (i, n), (tok, line, x) in zip(boxes, stretches):
        assert line is not None and len(tok) == n, ("a blank stretch falls on a line break", parts)
        text_box(i, X0 + x + BLANK, y + line * LINE - 5, BLANK * (n - 2), stato="kDisabilitato")
    if check is not None:
        add("CheckBox", "Check1", check, X0 + 30, y + 15, 240, 240, "", tab=TAB[("Check1", check)],
            stato="kDisabilitato")
    return top


FIVE = "     "
y = request_line([FIVE + "la concessione del contributo base (corrispondente ad €",
                  ") pari al 30% dell'importo complessivo dell'intervento, relativo ai lavori da effettuarsi "
                  "sulle parti comuni del fabbricato, come da quadro economico e computo metrico allegato;"],
                 [(29, AMOUNT_BLANKS)], 0, y) + 150
y = request_line([FIVE + "la concessione del contributo premiale (corrispondente ad €", ")\npari al",
                  "% dell'importo complessivo dell'intervento, come da quadro economico e computo metrico "
                  "allegato;"], [(30, AMOUNT_BLANKS), (31, PERCENT_BLANKS)], 1, y) + 150
y = request_line([FIVE + "la concessione del contributo accessorio (corrispondente ad €",
                  ") pari al 3% dell'importo complessivo dell'intervento, come da quadro economico e computo "
                  "metrico allegato, per la predisposizione del Libretto di Manutenzione del fabbricato;"],
                 [(32, AMOUNT_BLANKS)], 2, y) + 150
y = request_line(["l'importo totale del contributo a fondo perduto richiesto è pari ad €", ",\nequivalente al",
                  "% dell'importo complessivo dell'intervento, come da quadro economico e computo metrico "
                  "allegato."], [(33, AMOUNT_BLANKS), (34, PERCENT_BLANKS)], None, y) + 360

# The commitments
COMMITMENTS = [
    ("ACCETTA", "tutte le condizioni, gli obblighi e le modalità previsti dall'Avviso Pubblico del Comune di "
                "Vareri, ivi compresa la revoca del contributo nei casi in esso indicati;"),
    ("SI ASSOGGETTA", "a tutti i controlli e le verifiche che il Comune di Vareri riterrà di effettuare, anche "
                      "a mezzo di propri incaricati, sulla documentazione presentata e sull'esecuzione dei "
                      "lavori, fino alla liquidazione del contributo;"),
    ("SI OBBLIGA", "a realizzare gli interventi in conformità al progetto presentato e ai titoli abilitativi, "
                   "nei tempi previsti dall'Avviso Pubblico, e a comunicare tempestivamente al Comune di Vareri "
                   "ogni variazione dei dati dichiarati nella presente istanza;"),
    ("SI IMPEGNA ALTRESI'", "a predisporre il Libretto di Manutenzione del fabbricato, secondo le indicazioni "
                            "dell'Avviso Pubblico, e a consegnarne copia al Comune di Vareri a conclusione dei "
                            "lavori"),
]
for head, body in COMMITMENTS:
    label(head, X0, y, CONTENT_W, stile="Grassetto", allin="Centro")
    y += LINE + 150
    y, _ = para(body, y)
    if head == "SI IMPEGNA ALTRESI'":
        y, _ = para("(solo in caso di richiesta del contributo accessorio del 3%)", y + 30)
    y += 300
y += 60

# ALLEGA, D-
label("ALLEGA", X0, y, CONTENT_W, stile="Grassetto", allin="Centro")
y += LINE + 240
label("D-", LETTER_X, y, stile="Grassetto")
y, _ = para("Al fine dell'ammissione al contributo", y)
y, _ = para("ai sensi dell'art. 7 dell'Avviso Pubblico:", y)
y += 150
ATTACHMENTS = [
    None,  # the first depends on the variant
    "le dichiarazioni sostitutive di atto notorio rese ai sensi del D.P.R. 28 dicembre 2000 n. 445, "
    "secondo il modello allegato all'Avviso Pubblico;",
    "copia del provvedimento edilizio abilitativo dei lavori (permesso di costruire o denuncia di inizio "
    "attività), con gli estremi del protocollo di presentazione;",
    "relazione sui lavori da eseguire, asseverata da un tecnico abilitato, con la descrizione dello stato "
    "dei luoghi e degli interventi previsti sulle parti comuni;",
    "documentazione fotografica a colori (almeno 10 fotografie) delle parti comuni oggetto "
    "dell'intervento, con la planimetria dei punti di ripresa;",
    "planimetria di inquadramento territoriale in scala 1:1000 con l'individuazione dell'immobile;",
    "stralcio del Piano Regolatore Generale vigente con l'individuazione dell'immobile;",
    "computo metrico estimativo dei lavori, con il quadro economico redatto sul modello predisposto "
    "dal Programma;",
    "relazione tecnica dei progettisti sui criteri premiali, nel caso in cui sia richiesto il contributo "
    "premiale;",
    "per gli edifici con volume fuori terra superiore a 30.000,00 mc, il calcolo analitico del volume "
    "asseverato da un tecnico abilitato;",
    "copia di eventuali diffide o ordinanze relative a interventi sulle strutture non ancora eseguiti;",
    "copia su supporto elettronico (CD o DVD) della presente istanza, del computo metrico, del quadro "
    "economico e della documentazione fotografica.",
]
FIRST = {
    "Condomini": "copia del verbale dell'assemblea condominiale con il quale è stato conferito "
                 "all'amministratore il mandato a partecipare all'Avviso Pubblico e a presentare la presente "
                 "istanza;",
    "Proprietari": "in caso di comproprietà, la delega dei comproprietari con copia dei documenti di "
                   "riconoscimento dei deleganti; in caso di unica proprietà o di comproprietà, la dichiarazione "
                   "sostitutiva attestante che l'intera proprietà dell'immobile appartiene ai dichiaranti;",
}
AFTER_THIRD = ("per gli immobili sottoposti a vincolo, copia dell'autorizzazione della Soprintendenza competente; "
               "in caso di denuncia di inizio attività, copia della stessa con la data di presentazione e la "
               "dichiarazione di inizio dei lavori.")
num_slots = label_index[0]
label_index[0] += 12
text_slots = label_index[0]
label_index[0] += 13
PX = X0 + 840
for i in range(12):
    add("CheckBox", "Check2", i, X0, y + 15, 240, 240, "", tab=TAB[("Check2", i)])
    label("%d." % (i + 1), X0 + 330, y, stile="Grassetto", index=num_slots + i)
    if i == 0:
        e1, _ = para(FIRST["Condomini"], y, PX, RIGHT - PX, per="Condomini", index=text_slots)
        e2, _ = para(FIRST["Proprietari"], y, PX, RIGHT - PX, per="Proprietari", index=text_slots)
        y = max(e1, e2)
    else:
        y, _ = para(ATTACHMENTS[i], y, PX, RIGHT - PX, index=text_slots + i + (1 if i > 2 else 0))
    if i == 2:
        y, _ = para(AFTER_THIRD, y + 60, PX, RIGHT - PX, index=text_slots + 3)
    y += 180
y += 420

# Close: low on the page, so that the bottom end of the scroll bar shows it.
y = max(y, 53400)
label("In Fede", X0 + 6000, y)
y += LINE + 300
_, _, w, _ = label("Data", X0, y + 15)
text_box(35, X0 + w + 60, y, 1200)
label("Firma", X0 + 6000, y + 15)
y += 600
assert label_index[0] == 94, label_index[0]
assert y < 56700, y
PAGE_END = y

# ---------------------------------------------------------------- the window
form_rows = []
rows_page = rows
rows = []
add("Picture", "Picture1", -1, 120, 60, 840, 825, cont="")
add("Picture", "Picture2", -1, PAGE_W + 960 - 1185 + 240, 120, 1185, 615, cont="")
add("Label", "Label1", -1, 2160, 150, 7560, 330, "Progetto Ortesa 3 - Avviso Pubblico del 1° Febbraio 2008",
    stile="Intestazione", allin="Centro", cont="")
add("Label", "Label4", -1, 2160, 540, 7560, 330, "Compilazione Sevrina Condomini", stile="Intestazione",
    allin="Centro", cont="", per="Condomini")
add("Label", "Label4", -1, 2160, 540, 7560, 330, "Compilazione Sevrina Proprietari", stile="Intestazione",
    allin="Centro", cont="", per="Proprietari")
for i, (cap, top) in enumerate((("&Menu", 2040), ("&Salva", 2640), ("&Bozza", 3240), ("&Aiuto", 7560))):
    add("CommandButton", "Command1", i, 120, top, 615, 495, cap, tab=TAB[("Command1", i)], stile="Pulsante",
        cont="")
add("Frame", "Frame1", -1, 960, 960, 10095, 7095, cont="")
add("VScrollBar", "VScroll1", -1, 11040, 960, 255, 7095, tab=TAB[("VScroll1", -1)], cont="")
add("Timer", "Timer1", -1, 0, 0, 0, 0, cont="")
add("Frame", "Frame2", -1, 0, 0, 10095, 57000, cont="Frame1")
# Containers first, then the frame of the title lines (under its texts), then the rest in page order.
rows = (rows + [r for r in rows_page if r[0] == "Frame"] + [r for r in rows_page if r[0] == "Shape"]
        + [r for r in rows_page if r[0] not in ("Frame", "Shape")])

# Check: one Label2 row per index and variant.
for per in ("Condomini", "Proprietari"):
    seen = sorted(r[3] for r in rows if r[2] == "Label2" and r[1] in ("Entrambe", per))
    assert seen == list(range(94)), (per, seen)
    for name, count in (("Text1", 36), ("Check3", 17), ("Check2", 12), ("Check1", 3), ("Option1", 3),
                        ("Option2", 3), ("Option3", 2), ("Combo1", 3)):
        seen = sorted(r[3] for r in rows if r[2] == name and r[1] in ("Entrambe", per))
        assert seen == list(range(count)), (per, name, seen)

with open(OUT, "w", encoding="utf-8") as f:
    f.write("// Generated by genera_layout.py from the page's texts; edit the generator, not this file.\n")
    f.write("// Columns: kind, variant, name, index, container, left, top, width, height, text, Tag,\n")
    f.write("// MaxLength, TabIndex, state, font, alignment. The page's content ends at %d twips.\n" % PAGE_END)
    for r in rows:
        (tipo, per, nome, indice, cont, left, top, width, height, testo, tag, maxlen, tab, stato, stile,
         allin) = r
        f.write("{Tipo::%s, Per::%s, %s, %d, %s, %d, %d, %d, %d, %s, %s, %d, %d, %s, Stile::%s, "
                "Allineamento::%s},\n" % (tipo, per, q(nome), indice, q(cont), left, top, width, height,
                                         q(testo), q(tag), maxlen, tab, stato, stile, allin))
print("rows:", len(rows), "page ends at", PAGE_END)
