#include "engine/core/messages.h"

namespace velmor {

namespace {

// One row per message, one column per language in kEngineLanguages order.
struct MessageRow {
  EngineMessage id;
  std::u16string_view text[11];
};

constexpr MessageRow kMessages[] = {
    {EngineMessage::GazeActive,
     {u"aktywny", u"active", u"aktiv", u"activo", u"actif", u"attivo", u"активний", u"активен",
      u"已启用", u"활성", u"有効"}},
    {EngineMessage::InitError,
     {u"błąd inicjalizacji", u"initialization error", u"Initialisierungsfehler",
      u"error de inicialización", u"erreur d’initialisation", u"errore di inizializzazione",
      u"помилка ініціалізації", u"ошибка инициализации", u"初始化错误", u"초기화 오류",
      u"初期化エラー"}},
    {EngineMessage::GazeDisabled,
     {u"wyłączony (gazeEnabled = false)", u"disabled (gazeEnabled = false)",
      u"deaktiviert (gazeEnabled = false)", u"desactivado (gazeEnabled = false)",
      u"désactivé (gazeEnabled = false)", u"disattivato (gazeEnabled = false)",
      u"вимкнено (gazeEnabled = false)", u"отключено (gazeEnabled = false)",
      u"已禁用 (gazeEnabled = false)", u"비활성화됨 (gazeEnabled = false)",
      u"無効 (gazeEnabled = false)"}},
    {EngineMessage::GazeSearching,
     {u"szukanie urządzenia…", u"searching for device…", u"Gerät wird gesucht…",
      u"buscando dispositivo…", u"recherche du périphérique…", u"ricerca del dispositivo…",
      u"пошук пристрою…", u"поиск устройства…", u"正在搜索设备…", u"장치 검색 중…",
      u"デバイスを検索中…"}},
    {EngineMessage::GazeLibraryMissing,
     {u"brak tobii_stream_engine.dll (zainstaluj oprogramowanie Tobii)",
      u"tobii_stream_engine.dll missing (install the Tobii software)",
      u"tobii_stream_engine.dll fehlt (Tobii-Software installieren)",
      u"falta tobii_stream_engine.dll (instale el software de Tobii)",
      u"tobii_stream_engine.dll manquant (installez le logiciel Tobii)",
      u"tobii_stream_engine.dll mancante (installa il software Tobii)",
      u"немає tobii_stream_engine.dll (встановіть програмне забезпечення Tobii)",
      u"нет tobii_stream_engine.dll (установите программное обеспечение Tobii)",
      u"缺少 tobii_stream_engine.dll（请安装 Tobii 软件）",
      u"tobii_stream_engine.dll 없음 (Tobii 소프트웨어를 설치하세요)",
      u"tobii_stream_engine.dll がありません（Tobii ソフトウェアをインストールしてください）"}},
    {EngineMessage::GazeNoDevice,
     {u"nie wykryto urządzenia", u"no device detected", u"kein Gerät erkannt",
      u"no se detectó ningún dispositivo", u"aucun périphérique détecté",
      u"nessun dispositivo rilevato", u"пристрій не виявлено", u"устройство не обнаружено",
      u"未检测到设备", u"장치가 감지되지 않음", u"デバイスが検出されません"}},
    {EngineMessage::VoiceDisabled,
     {u"wyłączony (voiceEnabled = false)", u"disabled (voiceEnabled = false)",
      u"deaktiviert (voiceEnabled = false)", u"desactivado (voiceEnabled = false)",
      u"désactivé (voiceEnabled = false)", u"disattivato (voiceEnabled = false)",
      u"вимкнено (voiceEnabled = false)", u"отключено (voiceEnabled = false)",
      u"已禁用 (voiceEnabled = false)", u"비활성화됨 (voiceEnabled = false)",
      u"無効 (voiceEnabled = false)"}},
    {EngineMessage::VoiceLoadingModel,
     {u"ładowanie modelu…", u"loading model…", u"Modell wird geladen…", u"cargando modelo…",
      u"chargement du modèle…", u"caricamento del modello…", u"завантаження моделі…",
      u"загрузка модели…", u"正在加载模型…", u"모델 불러오는 중…", u"モデルを読み込み中…"}},
    {EngineMessage::VoiceLibraryMissing,
     {u"brak libvosk.dll", u"libvosk.dll missing", u"libvosk.dll fehlt", u"falta libvosk.dll",
      u"libvosk.dll manquant", u"libvosk.dll mancante", u"немає libvosk.dll", u"нет libvosk.dll",
      u"缺少 libvosk.dll", u"libvosk.dll 없음", u"libvosk.dll がありません"}},
    {EngineMessage::VoiceModelMissing,
     {u"brak katalogu modelu języka", u"language model folder missing",
      u"Ordner des Sprachmodells fehlt", u"falta la carpeta del modelo de idioma",
      u"dossier du modèle de langue manquant", u"cartella del modello linguistico mancante",
      u"немає теки мовної моделі", u"нет папки языковой модели", u"缺少语言模型文件夹",
      u"언어 모델 폴더 없음", u"言語モデルのフォルダーがありません"}},
    {EngineMessage::VoiceNoMicrophone,
     {u"brak mikrofonu", u"no microphone", u"kein Mikrofon", u"sin micrófono", u"aucun microphone",
      u"nessun microfono", u"немає мікрофона", u"нет микрофона", u"没有麦克风", u"마이크 없음",
      u"マイクがありません"}},
    {EngineMessage::HotkeyFailed,
     {u"Nie udało się zarejestrować globalnego skrótu '%s' — może być zajęty przez inny program.",
      u"Failed to register the global hotkey '%s' — it may be taken by another program.",
      u"Der globale Hotkey '%s' konnte nicht registriert werden — er wird möglicherweise von "
      u"einem anderen Programm verwendet.",
      u"No se pudo registrar el atajo global '%s' — puede que lo esté usando otro programa.",
      u"Impossible d’enregistrer le raccourci global '%s' — il est peut-être déjà utilisé par "
      u"un autre programme.",
      u"Impossibile registrare la scorciatoia globale '%s' — potrebbe essere già usata da un "
      u"altro programma.",
      u"Не вдалося зареєструвати глобальну клавішу '%s' — можливо, її зайняла інша програма.",
      u"Не удалось зарегистрировать глобальную клавишу '%s' — возможно, она занята другой "
      u"программой.",
      u"无法注册全局快捷键“%s”——它可能已被其他程序占用。",
      u"전역 단축키 '%s'을(를) 등록하지 못했습니다 — 다른 프로그램이 사용 중일 수 있습니다.",
      u"グローバルホットキー「%s」を登録できませんでした — "
      u"他のプログラムが使用している可能性があります。"}},
    {EngineMessage::HeldKeysPrefix,
     {u"Wciśnięte:   ", u"Held:   ", u"Gehalten:   ", u"Pulsadas:   ", u"Maintenues :   ",
      u"Premuti:   ", u"Утримуються:   ", u"Удерживаются:   ", u"按住：   ", u"누름:   ",
      u"押下中:   "}},
    {EngineMessage::PhoneFailed,
     {u"Nie udało się połączyć z telefonem — podłącz go kablem USB, włącz debugowanie USB i "
      u"zezwól temu komputerowi.",
      u"Could not connect to the phone — plug it in via USB, enable USB debugging and allow "
      u"this computer.",
      u"Verbindung zum Telefon fehlgeschlagen — per USB-Kabel anschließen, USB-Debugging "
      u"aktivieren und diesen Computer zulassen.",
      u"No se pudo conectar con el teléfono — conéctelo por USB, active la depuración USB y "
      u"autorice este equipo.",
      u"Impossible de se connecter au téléphone — branchez-le en USB, activez le débogage USB "
      u"et autorisez cet ordinateur.",
      u"Impossibile connettersi al telefono — collegalo via USB, attiva il debug USB e "
      u"autorizza questo computer.",
      u"Не вдалося під’єднатися до телефона — підключіть його кабелем USB, увімкніть "
      u"налагодження USB і дозвольте цей комп’ютер.",
      u"Не удалось подключиться к телефону — подключите его кабелем USB, включите отладку по "
      u"USB и разрешите этот компьютер.",
      u"无法连接到手机——请用 USB 线连接，启用 USB 调试并允许这台电脑。",
      u"휴대폰에 연결하지 못했습니다 — USB 케이블로 연결하고 USB 디버깅을 켠 뒤 이 컴퓨터를 "
      u"허용하세요.",
      u"電話に接続できませんでした — USB で接続し、USB デバッグを有効にして、このコンピューターを"
      u"許可してください。"}},
};

}  // namespace

int EngineLanguageIndex(std::u16string_view language) {
  for (std::size_t i = 0; i < kEngineLanguages.size(); ++i)
    if (kEngineLanguages[i] == language) return static_cast<int>(i);
  return 0;
}

std::u16string_view EngineMessageText(EngineMessage id, int languageIndex) {
  if (languageIndex < 0 || languageIndex >= static_cast<int>(kEngineLanguages.size()))
    languageIndex = 0;
  for (const auto& row : kMessages)
    if (row.id == id) return row.text[languageIndex];
  return {};
}

std::u16string FormatEngineMessage(EngineMessage id, int languageIndex, std::u16string_view arg) {
  std::u16string text(EngineMessageText(id, languageIndex));
  auto at = text.find(u"%s");
  if (at != std::u16string::npos) text.replace(at, 2, arg);
  return text;
}

}  // namespace velmor
