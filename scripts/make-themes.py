#!/usr/bin/env python3
# Writes the seven theme style sheets (resources/themes/*.qss) from one
# template and a colour table per theme, and checks their text contrast.
# Usage: scripts/make-themes.py resources/themes
import sys, itertools
def lum(h):
    h=h.lstrip('#'); r,g,b=[int(h[i:i+2],16)/255 for i in (0,2,4)]
    f=lambda c: c/12.92 if c<=0.03928 else ((c+0.055)/1.055)**2.4
    return 0.2126*f(r)+0.7152*f(g)+0.0722*f(b)
def cr(a,b):
    la,lb=lum(a),lum(b); return (max(la,lb)+0.05)/(min(la,lb)+0.05)

NORMAL=dict(fontpt=10, titlept=18, ctitlept=12, pv=6, ph=14, radius=6, ind=14, handle=16, groove=6, scroll=12, minh=0, bw=1, fw=2, tabpv=8, tabph=18, big=False)
LARGE=dict(fontpt=17, titlept=26, ctitlept=20, pv=10, ph=20, radius=8, ind=24, handle=28, groove=10, scroll=20, minh=36, bw=2, fw=3, tabpv=12, tabph=24, big=True)

T={}
T['fluent']=dict(NORMAL, desc="Fluent: light, calm blue accents on a pale surface.",
  bg='#F4F6FB', text='#1B2433', card='#FFFFFF', cardb='#D6DEEA', muted='#4A5568', title='#185FA5', ctitle='#1B2433',
  ok='#0F6E56', warn='#A33A00', btn='#FFFFFF', btnt='#1B2433', btnb='#8A99AE', hover='#E6F1FB', pressed='#CFE3F7',
  pri='#185FA5', prit='#FFFFFF', prih='#134D87', prip='#0F3F6F', focus='#1B2433', prifocus='#1B2433',
  inp='#FFFFFF', inpb='#8A99AE', sel='#185FA5', selt='#FFFFFF', dist='#6B7685', disbg='#EDF0F5', disb='#C3CCD8',
  tabt='#3D4A5C', tabsel='#185FA5', accent='#185FA5', tip='#1B2433', tipt='#FFFFFF', tipb='#1B2433',
  sgroove='#E3E8F0', shandle='#66758B', indc='#5A6B80', menusel='#E6F1FB', menuselt='#1B2433', alt='#F7F9FC', head='#EEF2F8')
T['neon']=dict(NORMAL, desc="Neon: dark gaming look, cyan accents, magenta keyboard focus.",
  bg='#101423', text='#E8ECFF', card='#1B2340', cardb='#2C3766', muted='#AEB8DA', title='#39D5C9', ctitle='#E8ECFF',
  ok='#4BE38A', warn='#FFB547', btn='#232C50', btnt='#E8ECFF', btnb='#4A5A9A', hover='#2C3866', pressed='#151B33',
  pri='#39D5C9', prit='#0B0F1C', prih='#66E3DA', prip='#2AA39B', focus='#FF5AD9', prifocus='#FF5AD9',
  inp='#0C1020', inpb='#4A5A9A', sel='#39D5C9', selt='#0B0F1C', dist='#8A93B5', disbg='#181E36', disb='#2C3766',
  tabt='#B8C1E3', tabsel='#39D5C9', accent='#39D5C9', tip='#1B2340', tipt='#E8ECFF', tipb='#39D5C9',
  sgroove='#141A30', shandle='#6E80C8', indc='#7F8CC4', menusel='#2C3866', menuselt='#FFFFFF', alt='#121830', head='#1B2340')
T['pro']=dict(NORMAL, desc="Pro studio: graphite surfaces with amber accents, mint keyboard focus.",
  bg='#1D1F24', text='#E8E6DF', card='#26292F', cardb='#3A3E48', muted='#B5B2A8', title='#EFA02F', ctitle='#E8E6DF',
  ok='#9FE1CB', warn='#FF8F7A', btn='#2F333B', btnt='#E8E6DF', btnb='#5A606C', hover='#3A3F49', pressed='#24272D',
  pri='#EFA02F', prit='#1D1F24', prih='#F5B352', prip='#D98E1F', focus='#9FE1CB', prifocus='#9FE1CB',
  inp='#17191D', inpb='#5A606C', sel='#EFA02F', selt='#1D1F24', dist='#8E8B83', disbg='#24262B', disb='#3A3E48',
  tabt='#C9C6BD', tabsel='#EFA02F', accent='#EFA02F', tip='#2F333B', tipt='#E8E6DF', tipb='#EFA02F',
  sgroove='#1A1C20', shandle='#7A808C', indc='#8A8F99', menusel='#3A3F49', menuselt='#FFFFFF', alt='#22252A', head='#2F333B')
T['mono']=dict(NORMAL, desc="Black and white: strict black on white, no colour at all.", bw=1, fw=3,
  bg='#FFFFFF', text='#000000', card='#FFFFFF', cardb='#000000', muted='#262626', title='#000000', ctitle='#000000',
  ok='#000000', warn='#000000', btn='#FFFFFF', btnt='#000000', btnb='#000000', hover='#E8E8E8', pressed='#D0D0D0',
  pri='#000000', prit='#FFFFFF', prih='#262626', prip='#404040', focus='#000000', prifocus='#000000',
  inp='#FFFFFF', inpb='#000000', sel='#000000', selt='#FFFFFF', dist='#595959', disbg='#F2F2F2', disb='#8C8C8C',
  tabt='#000000', tabsel='#000000', accent='#000000', tip='#FFFFFF', tipt='#000000', tipb='#000000',
  sgroove='#FFFFFF', shandle='#000000', indc='#000000', menusel='#000000', menuselt='#FFFFFF', alt='#F2F2F2', head='#E8E8E8')
T['contrast']=dict(NORMAL, desc="High contrast: white and yellow on black, thick yellow keyboard focus.", bw=2, fw=3, fontpt=11, titlept=20, ctitlept=13,
  bg='#000000', text='#FFFFFF', card='#000000', cardb='#FFFFFF', muted='#FFFFFF', title='#FFE500', ctitle='#FFE500',
  ok='#34FF6B', warn='#FFB000', btn='#000000', btnt='#FFFFFF', btnb='#FFFFFF', hover='#1F1F1F', pressed='#333333',
  pri='#FFE500', prit='#000000', prih='#FFF066', prip='#E6CE00', focus='#FFE500', prifocus='#FFE500',
  inp='#000000', inpb='#FFFFFF', sel='#FFE500', selt='#000000', dist='#A6A6A6', disbg='#000000', disb='#8C8C8C',
  tabt='#FFFFFF', tabsel='#FFE500', accent='#FFE500', tip='#000000', tipt='#FFFFFF', tipb='#FFE500',
  sgroove='#000000', shandle='#FFFFFF', indc='#FFFFFF', menusel='#FFE500', menuselt='#000000', alt='#141414', head='#000000')
T['large']=dict(LARGE, desc="Large print, light: big text and controls, dark text on white.",
  bg='#FFFFFF', text='#111111', card='#F4F8FD', cardb='#7F96B2', muted='#2E3A48', title='#0B5CAB', ctitle='#111111',
  ok='#1B6E3A', warn='#9A3400', btn='#FFFFFF', btnt='#111111', btnb='#5A6B80', hover='#DCEBFA', pressed='#C2DAF3',
  pri='#0B5CAB', prit='#FFFFFF', prih='#094C8E', prip='#073D73', focus='#111111', prifocus='#111111',
  inp='#FFFFFF', inpb='#5A6B80', sel='#0B5CAB', selt='#FFFFFF', dist='#6B6B6B', disbg='#EEEEEE', disb='#9A9A9A',
  tabt='#2E3A48', tabsel='#0B5CAB', accent='#0B5CAB', tip='#111111', tipt='#FFFFFF', tipb='#111111',
  sgroove='#E4EAF1', shandle='#5A6B80', indc='#3F4E60', menusel='#DCEBFA', menuselt='#111111', alt='#F5F8FB', head='#E8EEF6')
T['largedark']=dict(LARGE, desc="Large print, dark: big text and controls, light text on charcoal, yellow keyboard focus.",
  bg='#1E1E1E', text='#F2F2F2', card='#282C33', cardb='#55606E', muted='#D4D8DE', title='#5EB3FF', ctitle='#F2F2F2',
  ok='#7CE3A0', warn='#FFB86B', btn='#2F3B4A', btnt='#F2F2F2', btnb='#8FA3BA', hover='#36414E', pressed='#253040',
  pri='#5EB3FF', prit='#111111', prih='#85C6FF', prip='#3A9BF0', focus='#FFD54A', prifocus='#FFD54A',
  inp='#161616', inpb='#8FA3BA', sel='#5EB3FF', selt='#111111', dist='#9A9A9A', disbg='#262626', disb='#555555',
  tabt='#D4D8DE', tabsel='#5EB3FF', accent='#5EB3FF', tip='#2F3B4A', tipt='#F2F2F2', tipb='#5EB3FF',
  sgroove='#161616', shandle='#8FA3BA', indc='#B8C4D2', menusel='#3A4A5E', menuselt='#FFFFFF', alt='#232323', head='#2F3B4A')

def check(k,t):
    pairs=[('text','bg'),('text','card'),('muted','bg'),('muted','card'),('title','bg'),('ctitle','card'),('ok','card'),('ok','bg'),
      ('warn','card'),('warn','bg'),('btnt','btn'),('btnt','hover'),('btnt','pressed'),('prit','pri'),('prit','prih'),('prit','prip'),('text','inp'),
      ('selt','sel'),('tabt','bg'),('tabsel','bg'),('text','hover'),('tabsel','hover'),('tipt','tip'),('menuselt','menusel'),('text','alt'),('text','head')]
    dis=[('dist','disbg'),('dist','bg'),('dist','card'),('dist','inp')]
    nt=[('focus','bg'),('focus','card'),('prifocus','card'),('prifocus','bg'),('shandle','sgroove'),('indc','card'),('indc','bg'),('accent','card')]
    bad=[]
    for a,b in pairs:
        r=cr(t[a],t[b]);
        if r<4.5: bad.append(f'{a}/{b}={r:.2f}')
    for a,b in dis:
        r=cr(t[a],t[b]);
        if r<3: bad.append(f'DIS {a}/{b}={r:.2f}')
    for a,b in nt:
        r=cr(t[a],t[b]);
        if r<3: bad.append(f'NT {a}/{b}={r:.2f}')
    print(k, 'min text', min(cr(t[a],t[b]) for a,b in pairs), bad)

for k,t in T.items(): check(k,t)

TEMPLATE = r'''/* Velmor theme "{key}". {desc}
   Every focusable control shows a {fw}px ring in {focus} when it has keyboard
   focus; unfocused controls keep a {bw}px border and {dpad}px more padding, so
   nothing moves when the focus arrives. Sizes are minimums only: text may
   grow (system text scaling) without being cut off. */

/* Base: text everywhere, background on windows only, so that labels and
   check boxes inside cards show the card behind them. */
QWidget {{
  color: {text};
  font-size: {fontpt}pt;
  selection-background-color: {sel};
  selection-color: {selt};
}}
QWidget:window, QDialog {{
  background-color: {bg};
}}
QWidget:disabled {{
  color: {dist};
}}

/* Main tab bar */
QTabBar#TopTabs::tab {{
  color: {tabt};
  background: transparent;
  border: {fw}px solid transparent;
  border-bottom: {tabline}px solid transparent;
  padding: {tabpv}px {tabph}px;
  margin: 2px 2px 0 2px;
  {tabminh}
}}
QTabBar#TopTabs::tab:hover {{
  color: {text};
  background: {hover};
}}
QTabBar#TopTabs::tab:selected {{
  color: {tabsel};
  border-bottom-color: {accent};
  font-weight: bold;
}}
QTabBar#TopTabs::tab:focus {{
  border-color: {focus};
}}
QTabBar#TopTabs::tab:disabled {{
  color: {dist};
}}
QTabBar QToolButton {{
  background-color: {btn};
  border: {bw}px solid {btnb};
  border-radius: 0;
  padding: 0;
  {tabscrollw}
}}

/* Cards and labels */
QFrame#Card {{
  background-color: {card};
  border: {cardbw}px solid {cardb};
  border-radius: {cradius}px;
}}
QLabel {{
  background: transparent;
}}
QLabel[role="pageTitle"] {{
  color: {title};
  font-size: {titlept}pt;
  font-weight: bold;
}}
QLabel[role="cardTitle"] {{
  color: {ctitle};
  font-size: {ctitlept}pt;
  font-weight: bold;
}}
QLabel[role="value"] {{
  color: {muted};
}}
QLabel[role="ok"] {{
  color: {ok};
  font-weight: bold;
}}
QLabel[role="warn"] {{
  color: {warn};
  font-weight: bold;{warnextra}
}}
QLabel:disabled, QLabel[role]:disabled {{
  color: {dist};
}}

/* Buttons */
QPushButton, QToolButton {{
  color: {btnt};
  background-color: {btn};
  border: {bw}px solid {btnb};
  border-radius: {radius}px;
  padding: {pv}px {ph}px;
  {minh}
}}
QPushButton:hover, QToolButton:hover {{
  background-color: {hover};
}}
QPushButton:pressed, QPushButton:checked, QToolButton:pressed, QToolButton:checked {{
  background-color: {pressed};
}}
QPushButton:focus, QToolButton:focus {{
  border: {fw}px solid {focus};
  padding: {fpv}px {fph}px;
}}
QPushButton#Primary {{
  color: {prit};
  background-color: {pri};
  border-color: {pri};
  font-weight: bold;
}}
QPushButton#Primary:hover {{
  background-color: {prih};
  border-color: {prih};
}}
QPushButton#Primary:pressed {{
  background-color: {prip};
  border-color: {prip};
}}
QPushButton#Primary:focus {{{prifocusextra}
  border: {pfw}px {pfstyle} {prifocus};
  padding: {pfpv}px {pfph}px;
}}
QPushButton:disabled, QPushButton#Primary:disabled, QToolButton:disabled {{
  color: {dist};
  background-color: {disbg};
  border-color: {disb};{disextra}
}}

/* Check boxes and radio buttons: the ring goes round the whole control,
   label included, because the indicator alone is too small to read. */
QCheckBox, QRadioButton {{
  background: transparent;
  spacing: {spacing}px;
  padding: 2px 4px;
  border: {fw}px solid transparent;
  border-radius: {radius}px;
}}
QCheckBox:focus, QRadioButton:focus {{
  border-color: {focus};
}}
QCheckBox::indicator, QRadioButton::indicator {{
  width: {ind}px;
  height: {ind}px;
  border: {indbw}px solid {indc};
  background-color: {inp};
}}
QCheckBox::indicator {{
  border-radius: {indradius}px;
}}
QRadioButton::indicator {{
  border-radius: {indround}px;
}}
QCheckBox::indicator:hover, QRadioButton::indicator:hover {{
  border-color: {accent};
}}
QCheckBox::indicator:checked, QRadioButton::indicator:checked {{
  background-color: {accent};
  border-color: {accent};
}}
QCheckBox::indicator:indeterminate {{
  background-color: {hover};
  border-color: {accent};
}}
QCheckBox::indicator:disabled, QRadioButton::indicator:disabled {{
  background-color: {disbg};
  border-color: {disb};
}}
QCheckBox::indicator:checked:disabled, QRadioButton::indicator:checked:disabled {{
  background-color: {disb};
}}

/* Text fields, spin boxes and combo boxes */
QLineEdit, QSpinBox, QDoubleSpinBox, QComboBox, QPlainTextEdit, QTextEdit {{
  color: {text};
  background-color: {inp};
  border: {bw}px solid {inpb};
  border-radius: {iradius}px;
  padding: {ipv}px {iph}px;
  {minh}
}}
QPlainTextEdit, QTextEdit {{
  padding: 2px;
}}
QLineEdit:hover, QSpinBox:hover, QDoubleSpinBox:hover, QComboBox:hover {{
  border-color: {accent};
}}
QLineEdit:focus, QSpinBox:focus, QDoubleSpinBox:focus, QComboBox:focus,
QPlainTextEdit:focus, QTextEdit:focus {{
  border: {fw}px solid {focus};
  padding: {fipv}px {fiph}px;
}}
QPlainTextEdit:focus, QTextEdit:focus {{
  padding: {ftpad}px;
}}
QLineEdit:disabled, QSpinBox:disabled, QDoubleSpinBox:disabled, QComboBox:disabled,
QPlainTextEdit:disabled, QTextEdit:disabled {{
  color: {dist};
  background-color: {disbg};
  border-color: {disb};
}}
/* The arrows keep their native look, which follows the text colour; they
   only need room to be drawn large enough to see. */
QSpinBox::up-button, QSpinBox::down-button, QDoubleSpinBox::up-button,
QDoubleSpinBox::down-button {{
  width: {arrowbox}px;
}}
QSpinBox::up-arrow, QSpinBox::down-arrow, QDoubleSpinBox::up-arrow,
QDoubleSpinBox::down-arrow, QComboBox::down-arrow {{
  width: {arrow2}px;
  height: {arrow2}px;
}}
QComboBox QAbstractItemView {{
  color: {text};
  background-color: {inp};
  border: {bw}px solid {inpb};
  selection-background-color: {sel};
  selection-color: {selt};
  outline: none;
}}
QComboBox QAbstractItemView::item {{
  {itemminh}
  padding: {itempad}px {ipv}px;
}}

/* Sliders: a thick groove and a large handle that is easy to grab */
QSlider {{
  background: transparent;
  border: {fw}px solid transparent;
  border-radius: {radius}px;
  padding: 2px;
  min-height: {sliderminh}px;
}}
QSlider:vertical {{
  min-height: 0;
  min-width: {sliderminh}px;
}}
QSlider:focus {{
  border-color: {focus};
}}
QSlider::groove:horizontal {{
  height: {groove}px;
  background-color: {sgroove2};
  border: 1px solid {indc};
  border-radius: {grooveradius}px;
}}
QSlider::groove:vertical {{
  width: {groove}px;
  background-color: {sgroove2};
  border: 1px solid {indc};
  border-radius: {grooveradius}px;
}}
QSlider::sub-page:horizontal, QSlider::add-page:vertical {{
  background-color: {accent};
  border-radius: {grooveradius}px;
}}
QSlider::handle:horizontal {{
  width: {handle}px;
  margin: -{handlemargin}px 0;
  background-color: {handlebg};
  border: {indbw}px solid {handleb};
  border-radius: {handleround}px;
}}
QSlider::handle:vertical {{
  height: {handle}px;
  margin: 0 -{handlemargin}px;
  background-color: {handlebg};
  border: {indbw}px solid {handleb};
  border-radius: {handleround}px;
}}
QSlider::handle:hover, QSlider::handle:focus {{
  background-color: {hover};
}}
QSlider::handle:disabled, QSlider::sub-page:disabled, QSlider::add-page:vertical:disabled {{
  background-color: {disbg};
  border-color: {disb};
}}

/* Lists, trees and tables */
QListWidget, QListView, QTreeWidget, QTreeView, QTableWidget, QTableView {{
  color: {text};
  background-color: {inp};
  alternate-background-color: {alt};
  border: {bw}px solid {inpb};
  border-radius: {iradius}px;
  padding: {dpad}px;
  outline: none;
}}
QListWidget:focus, QListView:focus, QTreeWidget:focus, QTreeView:focus,
QTableWidget:focus, QTableView:focus {{
  border: {fw}px solid {focus};
  padding: 0;
}}
QListWidget::item, QListView::item, QTreeWidget::item, QTreeView::item {{
  padding: {itempad}px 4px;
  {itemminh}
}}
QListWidget::item:hover, QListView::item:hover, QTreeWidget::item:hover, QTreeView::item:hover {{
  color: {text};
  background-color: {hover};
}}
QListWidget::item:selected, QListView::item:selected, QTreeWidget::item:selected,
QTreeView::item:selected, QTableWidget::item:selected, QTableView::item:selected {{
  color: {selt};
  background-color: {sel};
}}
QListWidget:disabled, QListView:disabled, QTreeWidget:disabled, QTreeView:disabled,
QTableWidget:disabled, QTableView:disabled {{
  color: {dist};
  background-color: {disbg};
  border-color: {disb};
}}
QHeaderView::section {{
  color: {text};
  background-color: {head};
  border: none;
  border-right: 1px solid {cardb};
  border-bottom: 1px solid {cardb};
  padding: {itempad}px 8px;
  font-weight: bold;
}}
QTableCornerButton::section {{
  background-color: {head};
  border: none;
}}

/* Group boxes */
QGroupBox {{
  background: transparent;
  border: {cardbw}px solid {cardb};
  border-radius: {radius}px;
  margin-top: {gbmargin}px;
  padding: {gbpad}px 8px 8px 8px;
  font-weight: bold;
}}
QGroupBox::title {{
  subcontrol-origin: margin;
  subcontrol-position: top left;
  left: 10px;
  padding: 0 4px;
  color: {ctitle};
}}
QGroupBox::indicator {{
  width: {ind}px;
  height: {ind}px;
  border: {indbw}px solid {indc};
  background-color: {inp};
  border-radius: {indradius}px;
}}
QGroupBox::indicator:checked {{
  background-color: {accent};
  border-color: {accent};
}}

/* Tooltips, menus and message boxes */
QToolTip, QToolTip:window {{
  color: {tipt};
  background-color: {tip};
  border: {bw}px solid {tipb};
  padding: 4px 8px;
}}
QMenu, QMenu:window {{
  color: {text};
  background-color: {inp};
  border: {bw}px solid {inpb};
  padding: 4px;
}}
QMenu::item {{
  padding: {mpv}px 24px {mpv}px 18px;
  border: {fw}px solid transparent;
  border-radius: 4px;
}}
QMenu::item:selected {{
  color: {menuselt};
  background-color: {menusel};
  border-color: {focus};
}}
QMenu::item:disabled {{
  color: {dist};
}}
QMenu::separator {{
  height: 1px;
  margin: 4px 8px;
  background-color: {cardb};
}}
QMessageBox QLabel {{
  color: {text};
}}

/* Scroll bars: a plain handle on a track, no arrow buttons */
QScrollBar:vertical {{
  width: {scroll}px;
  background-color: {sgroove};
  border: none;
  margin: 0;
}}
QScrollBar:horizontal {{
  height: {scroll}px;
  background-color: {sgroove};
  border: none;
  margin: 0;
}}
QScrollBar::handle:vertical {{
  min-height: {scrollmin}px;
  background-color: {shandle};
  border-radius: {scrollround}px;
  margin: 2px;
}}
QScrollBar::handle:horizontal {{
  min-width: {scrollmin}px;
  background-color: {shandle};
  border-radius: {scrollround}px;
  margin: 2px;
}}
QScrollBar::handle:hover {{
  background-color: {accent};
}}
QScrollBar::add-line, QScrollBar::sub-line {{
  width: 0;
  height: 0;
  border: none;
  background: none;
}}
QScrollBar::add-page, QScrollBar::sub-page {{
  background: none;
}}
QScrollArea {{
  background: transparent;
  border: none;
}}
QScrollArea > QWidget > QWidget {{
  background: transparent;
}}
'''

def render(k,t):
    d=dict(t); d['key']=k
    dpad=d['fw']-d['bw']; d['dpad']=dpad
    d['fpv']=d['pv']-dpad; d['fph']=d['ph']-dpad
    d['ipv']=max(d['pv']-2,3); d['iph']=d['pv']+2
    d['fipv']=d['ipv']-dpad; d['fiph']=d['iph']-dpad
    d['ftpad']=max(2-dpad,0)
    d['minh']=f"min-height: {t['minh']}px;" if t['minh'] else "/* the height follows the text */"
    d['tabminh']=f"min-height: {t['minh']}px;" if t['minh'] else "/* the height follows the text */"
    d['tabline']=max(d['fw'],3)
    d['cardbw']=2 if k in ('contrast','mono') or d['big'] else 1
    d['cradius']=0 if k=='mono' else d['radius']+4
    d['iradius']=0 if k=='mono' else max(d['radius']-2,2)
    if k=='mono': d['radius']=0
    d['warnextra']="\n  text-decoration: underline;" if k=='mono' else ""
    d['prifocusextra']=""
    # A ring of the fill's own colour would vanish: draw it double, with the
    # card showing through between ring and fill.
    d['pfw'],d['pfstyle'],d['pfpv'],d['pfph']=d['fw'],'solid',d['fpv'],d['fph']
    if k in ('mono','contrast'):
        d['prifocusextra']=("\n  /* A ring in the fill's own colour would vanish: draw it double, with\n"
                            "     the card showing between the two lines. */\n  background-clip: padding;")
        d['pfw']=d['fw']+3; d['pfstyle']='double'
        d['pfpv']=d['pv']+d['bw']-d['pfw']; d['pfph']=d['ph']+d['bw']-d['pfw']

    d['disextra']="\n  border-style: dashed;" if k in ('contrast','mono') else ""
    d['spacing']=12 if d['big'] else 8
    d['indbw']=2
    d['indradius']=0 if k=='mono' else 3
    d['indround']=d['ind']//2+2
    d['arrow2']=16 if d['big'] else 12
    d['arrowbox']=32 if d['big'] else 24
    d['tabscrollw']=f"min-width: {d['arrowbox']}px;"
    d['comboright']=d['arrowbox']+4; d['fcomboright']=d['comboright']-dpad
    d['itempad']=8 if d['big'] else 4
    d['itemminh']=f"min-height: {t['minh']-8}px;" if t['minh'] else "/* the height follows the text */"
    d['sliderminh']=d['handle']+8
    d['sgroove2']=d['inp']
    d['grooveradius']=d['groove']//2
    d['handlemargin']=(d['handle']-d['groove'])//2+2
    d['handlebg']=d['inp'] if k!='contrast' else '#000000'
    d['handleb']=d['accent']
    d['handleround']=d['handle']//2+2
    d['gbmargin']=24 if d['big'] else 14
    d['gbpad']=20 if d['big'] else 12
    d['mpv']=8 if d['big'] else 5
    d['scrollmin']=48 if d['big'] else 28
    d['scrollround']=d['scroll']//2-2
    return d

import os
out=sys.argv[1] if len(sys.argv)>1 else None
if out:
    for k,t in T.items():
        open(os.path.join(out,k+'.qss'),'w',encoding='utf-8').write(TEMPLATE.format(**render(k,t)))
