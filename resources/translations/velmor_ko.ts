<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ko_KR">
<context>
    <name>velmor::gui::GazePage</name>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>시선 제어</translation>
    </message>
    <message>
        <source>Tobii Eye Tracker</source>
        <translation>Tobii Eye Tracker</translation>
    </message>
    <message>
        <source>Steruj wirtualnym kursorem wzrokiem, gdy koło jest otwarte</source>
        <translation>휠이 열려 있을 때 시선으로 가상 커서 이동</translation>
    </message>
    <message>
        <source>Czas wyboru spojrzeniem (dwell)</source>
        <translation>시선 선택 시간(드웰)</translation>
    </message>
    <message>
        <source>Zatrzymanie wzroku na polu przez ten czas wybiera funkcję. Wartość 0 wyłącza wybór spojrzeniem — wtedy potwierdzasz kliknięciem albo komendą &quot;kliknij&quot;.</source>
        <translation>시선을 이 시간 동안 필드에 머무르면 선택됩니다. 0이면 시선 선택이 꺼지며, 클릭하거나 &quot;클릭&quot; 명령으로 확인합니다.</translation>
    </message>
    <message>
        <source>tylko kliknięcie</source>
        <translation>클릭만</translation>
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
        <translation>언어를 바꾸려면 다시 시작해야 합니다. 지금 프로그램을 다시 시작할까요?</translation>
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
        <translation>탭</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>시작</translation>
    </message>
    <message>
        <source>Koła wyboru</source>
        <translation>선택 휠</translation>
    </message>
    <message>
        <source>Komendy głosowe</source>
        <translation>음성 명령</translation>
    </message>
    <message>
        <source>Mapowanie</source>
        <translation>매핑</translation>
    </message>
    <message>
        <source>Sterowanie wzrokiem</source>
        <translation>시선 제어</translation>
    </message>
    <message>
        <source>Ustawienia</source>
        <translation>설정</translation>
    </message>
    <message>
        <source>Pokaż koło</source>
        <translation>휠 표시</translation>
    </message>
    <message>
        <source>Pokaż okno</source>
        <translation>창 표시</translation>
    </message>
    <message>
        <source>Zakończ</source>
        <translation>종료</translation>
    </message>
</context>
<context>
    <name>velmor::gui::RuleTexts</name>
    <message>
        <source>Lewy przycisk</source>
        <translation>왼쪽 버튼</translation>
    </message>
    <message>
        <source>Prawy przycisk</source>
        <translation>오른쪽 버튼</translation>
    </message>
    <message>
        <source>Środkowy przycisk</source>
        <translation>가운데 버튼</translation>
    </message>
    <message>
        <source>Przycisk boczny 4</source>
        <translation>측면 버튼 4</translation>
    </message>
    <message>
        <source>Przycisk boczny 5</source>
        <translation>측면 버튼 5</translation>
    </message>
    <message>
        <source>Przycisk %1</source>
        <translation>버튼 %1</translation>
    </message>
</context>
<context>
    <name>velmor::gui::SettingsPage</name>
    <message>
        <source>Ustawienia</source>
        <translation>설정</translation>
    </message>
</context>
<context>
    <name>velmor::gui::StepKind</name>
    <message>
        <source>klik</source>
        <translation>클릭</translation>
    </message>
    <message>
        <source>przytrzymaj</source>
        <translation>누르고 있기</translation>
    </message>
    <message>
        <source>puść</source>
        <translation>놓기</translation>
    </message>
    <message>
        <source>otwórz</source>
        <translation>열기</translation>
    </message>
    <message>
        <source>przełącz</source>
        <translation>전환</translation>
    </message>
    <message>
        <source>przeczytaj zaznaczenie</source>
        <translation>선택 영역 읽기</translation>
    </message>
    <message>
        <source>puść wszystko</source>
        <translation>모두 놓기</translation>
    </message>
    <message>
        <source>zadzwoń pod numer (telefon)</source>
        <translation>번호로 전화 걸기 (휴대폰)</translation>
    </message>
    <message>
        <source>zmień koło</source>
        <translation>휠 전환</translation>
    </message>
    <message>
        <source>pojedyncza reguła (przycisk → cel)</source>
        <translation>단일 규칙 (버튼 → 대상)</translation>
    </message>
    <message>
        <source>zmień schemat mapowania</source>
        <translation>매핑 구성 전환</translation>
    </message>
    <message>
        <source>czekaj</source>
        <translation>대기</translation>
    </message>
    <message>
        <source>mapowanie (zamień przycisk na…)</source>
        <translation>재매핑 (버튼을 다음으로 바꾸기…)</translation>
    </message>
</context>
<context>
    <name>velmor::gui::ThemeChooser</name>
    <message>
        <source>Motyw interfejsu</source>
        <translation>인터페이스 테마</translation>
    </message>
</context>
<context>
    <name>velmor::gui::WheelFileModel</name>
    <message>
        <source>Nie można otworzyć pliku %1</source>
        <translation>파일 %1을(를) 열 수 없습니다</translation>
    </message>
    <message>
        <source>Błąd JSON: %1</source>
        <translation>JSON 오류: %1</translation>
    </message>
    <message>
        <source>Plik nie zawiera &quot;wheels&quot; ani &quot;actions&quot;</source>
        <translation>파일에 &quot;wheels&quot;도 &quot;actions&quot;도 없습니다</translation>
    </message>
    <message>
        <source>Nie można zapisać pliku %1</source>
        <translation>파일 %1을(를) 저장할 수 없습니다</translation>
    </message>
</context>
</TS>
