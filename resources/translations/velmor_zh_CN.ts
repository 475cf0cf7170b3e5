<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>velmor::gui::GazePage</name>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>眼控</translation>
    </message>
    <message>
        <source>Tobii Eye Tracker</source>
        <translation>Tobii Eye Tracker</translation>
    </message>
    <message>
        <source>Steruj wirtualnym kursorem wzrokiem, gdy koło jest otwarte</source>
        <translation>轮盘打开时用目光移动虚拟光标</translation>
    </message>
    <message>
        <source>Czas wyboru spojrzeniem (dwell)</source>
        <translation>注视选择时间（停留）</translation>
    </message>
    <message>
        <source>Zatrzymanie wzroku na polu przez ten czas wybiera funkcję. Wartość 0 wyłącza wybór spojrzeniem — wtedy potwierdzasz kliknięciem albo komendą &quot;kliknij&quot;.</source>
        <translation>目光在某个区域停留这么长时间即选中它。0 表示关闭注视选择——此时用单击或命令&quot;点击&quot;确认。</translation>
    </message>
    <message>
        <source>tylko kliknięcie</source>
        <translation>仅单击</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
</context>
<context>
    <name>velmor::gui::LanguageChooser</name>
    <message>
        <source>Język / Language</source>
        <translation>Język / Language</translation>
    </message>
    <message>
        <source>Velmor</source>
        <translation>Velmor</translation>
    </message>
    <message>
        <source>Zmiana języka wymaga ponownego uruchomienia. Uruchomić program ponownie teraz?</source>
        <translation>更改语言需要重新启动。现在重新启动程序吗？</translation>
    </message>
</context>
<context>
    <name>velmor::gui::MainWindow</name>
    <message>
        <source>Velmor</source>
        <translation>Velmor</translation>
    </message>
    <message>
        <source>Karty</source>
        <translation>选项卡</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Koła wyboru</source>
        <translation>选择轮盘</translation>
    </message>
    <message>
        <source>Komendy głosowe</source>
        <translation>语音命令</translation>
    </message>
    <message>
        <source>Mapowanie</source>
        <translation>映射</translation>
    </message>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>眼控</translation>
    </message>
    <message>
        <source>Ustawienia</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Pokaż koło</source>
        <translation>显示轮盘</translation>
    </message>
    <message>
        <source>Pokaż okno</source>
        <translation>显示窗口</translation>
    </message>
    <message>
        <source>Zakończ</source>
        <translation>退出</translation>
    </message>
</context>
<context>
    <name>velmor::gui::RuleTexts</name>
    <message>
        <source>Lewy przycisk</source>
        <translation>左键</translation>
    </message>
    <message>
        <source>Prawy przycisk</source>
        <translation>右键</translation>
    </message>
    <message>
        <source>Środkowy przycisk</source>
        <translation>中键</translation>
    </message>
    <message>
        <source>Przycisk boczny 4</source>
        <translation>侧键 4</translation>
    </message>
    <message>
        <source>Przycisk boczny 5</source>
        <translation>侧键 5</translation>
    </message>
    <message>
        <source>Przycisk %1</source>
        <translation>按钮 %1</translation>
    </message>
</context>
<context>
    <name>velmor::gui::SettingsPage</name>
    <message>
        <source>Ustawienia</source>
        <translation>设置</translation>
    </message>
</context>
<context>
    <name>velmor::gui::StepKind</name>
    <message>
        <source>klik</source>
        <translation>点击</translation>
    </message>
    <message>
        <source>przytrzymaj</source>
        <translation>按住</translation>
    </message>
    <message>
        <source>puść</source>
        <translation>松开</translation>
    </message>
    <message>
        <source>otwórz</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>przełącz</source>
        <translation>切换</translation>
    </message>
    <message>
        <source>przeczytaj zaznaczenie</source>
        <translation>朗读所选内容</translation>
    </message>
    <message>
        <source>puść wszystko</source>
        <translation>全部松开</translation>
    </message>
    <message>
        <source>zadzwoń pod numer (telefon)</source>
        <translation>拨打号码（手机）</translation>
    </message>
    <message>
        <source>zmień koło</source>
        <translation>切换轮盘</translation>
    </message>
    <message>
        <source>pojedyncza reguła (przycisk → cel)</source>
        <translation>单条规则（按钮 → 目标）</translation>
    </message>
    <message>
        <source>zmień schemat mapowania</source>
        <translation>切换映射方案</translation>
    </message>
    <message>
        <source>czekaj</source>
        <translation>等待</translation>
    </message>
    <message>
        <source>mapowanie (zamień przycisk na…)</source>
        <translation>重映射（将按钮改为…）</translation>
    </message>
</context>
<context>
    <name>velmor::gui::ThemeChooser</name>
    <message>
        <source>Motyw interfejsu</source>
        <translation>界面主题</translation>
    </message>
</context>
<context>
    <name>velmor::gui::WheelFileModel</name>
    <message>
        <source>Nie można otworzyć pliku %1</source>
        <translation>无法打开文件 %1</translation>
    </message>
    <message>
        <source>Błąd JSON: %1</source>
        <translation>JSON 错误：%1</translation>
    </message>
    <message>
        <source>Plik nie zawiera &quot;wheels&quot; ani &quot;actions&quot;</source>
        <translation>文件既不包含 &quot;wheels&quot; 也不包含 &quot;actions&quot;</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1</source>
        <translation>无法保存文件 %1</translation>
    </message>
</context>
</TS>
