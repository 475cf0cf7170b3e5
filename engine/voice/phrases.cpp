#include "engine/voice/phrases.h"

#include <array>
#include <system_error>

#include "engine/core/text.h"

namespace velmor::voice {

namespace {

struct LanguageModel {
  std::u16string_view language, folder;
};
constexpr std::array<LanguageModel, 11> kModels = {{
    {u"pl", u"vosk-model-small-pl-0.22"},
    {u"en", u"vosk-model-small-en-us-0.15"},
    {u"de", u"vosk-model-small-de-0.15"},
    {u"es", u"vosk-model-small-es-0.42"},
    {u"fr", u"vosk-model-small-fr-0.22"},
    {u"it", u"vosk-model-small-it-0.22"},
    {u"uk", u"vosk-model-small-uk-v3-nano"},
    {u"ru", u"vosk-model-small-ru-0.22"},
    {u"zh_CN", u"vosk-model-small-cn-0.22"},
    {u"ko", u"vosk-model-small-ko-0.22"},
    {u"ja", u"vosk-model-small-ja-0.22"},
}};

constexpr std::u16string_view kDefaultVoiceModel = u"vosk-model-small-pl-0.22";

// The order every language adds its built-in commands in.
constexpr std::array<int, 19> kCommandOrder = {1, 2, 3,  4,  5,  6,  10, 12, 11, 7,
                                               8, 9, 13, 14, 15, 16, 17, 18, 19};

struct Command {
  int id;
  std::vector<std::u16string_view> phrases;  // alternatives in order
};

struct Language {
  std::u16string_view code;
  std::vector<Command> commands;  // by id 1..19
  std::u16string_view doublePrefix, rightPrefix;
  std::array<std::u16string_view, 9> units;
  std::array<std::u16string_view, 10> teens;  // 10..19
  std::array<std::u16string_view, 8> tens;    // 20..90
  int mode;  // 0 "tens units", 1 "unitsundtens", 2 "tens y units", 3 joined
};

// One phrase per id, ids 1..19 in order.
std::vector<Command> Single(std::array<std::u16string_view, 19> p) {
  std::vector<Command> out;
  for (int i = 0; i < 19; ++i) out.push_back({i + 1, {p[static_cast<std::size_t>(i)]}});
  return out;
}

const std::vector<Language>& Languages() {
  static const std::vector<Language> kLanguages = {
      {u"pl",
       {{1, {u"pokaż koło"}},
        {2, {u"schowaj koło"}},
        {3, {u"następne koło"}},
        {4, {u"poprzednie koło"}},
        {5, {u"pokaż siatkę"}},
        {6, {u"schowaj siatkę"}},
        {7, {u"kliknij"}},
        {8, {u"dwuklik"}},
        {9, {u"prawy klik"}},
        {10, {u"pokaż elementy"}},
        {11, {u"ukryj elementy", u"schowaj elementy"}},
        {12, {u"pokaż elementy strony", u"elementy strony"}},
        {13, {u"klawiatura", u"pokaż klawiaturę"}},
        {14, {u"przeczytaj", u"przeczytaj zaznaczenie"}},
        {15, {u"stop czytania", u"przestań czytać"}},
        {16, {u"puść wszystko", u"puść klawisze"}},
        {17, {u"pokaż telefon", u"ekran telefonu"}},
        {18, {u"odbierz telefon", u"odbierz połączenie"}},
        {19, {u"rozłącz telefon", u"zakończ rozmowę"}}},
       u"kliknij dwa razy na ",
       u"kliknij prawy na ",
       {u"jeden", u"dwa", u"trzy", u"cztery", u"pięć", u"sześć", u"siedem", u"osiem", u"dziewięć"},
       {u"dziesięć", u"jedenaście", u"dwanaście", u"trzynaście", u"czternaście", u"piętnaście",
        u"szesnaście", u"siedemnaście", u"osiemnaście", u"dziewiętnaście"},
       {u"dwadzieścia", u"trzydzieści", u"czterdzieści", u"pięćdziesiąt", u"sześćdziesiąt",
        u"siedemdziesiąt", u"osiemdziesiąt", u"dziewięćdziesiąt"},
       0},
      {u"en",
       {{1, {u"show wheel"}},
        {2, {u"hide wheel"}},
        {3, {u"next wheel"}},
        {4, {u"previous wheel"}},
        {5, {u"show grid"}},
        {6, {u"hide grid"}},
        {7, {u"click"}},
        {8, {u"double click"}},
        {9, {u"right click"}},
        {10, {u"show elements"}},
        {11, {u"hide elements"}},
        {12, {u"show page elements", u"page elements"}},
        {13, {u"keyboard", u"show keyboard"}},
        {14, {u"read aloud", u"read selection"}},
        {15, {u"stop reading"}},
        {16, {u"release all", u"release all keys"}},
        {17, {u"show phone", u"phone screen"}},
        {18, {u"answer phone", u"answer call"}},
        {19, {u"hang up", u"end call"}}},
       u"double click on ",
       u"right click on ",
       {u"one", u"two", u"three", u"four", u"five", u"six", u"seven", u"eight", u"nine"},
       {u"ten", u"eleven", u"twelve", u"thirteen", u"fourteen", u"fifteen", u"sixteen",
        u"seventeen", u"eighteen", u"nineteen"},
       {u"twenty", u"thirty", u"forty", u"fifty", u"sixty", u"seventy", u"eighty", u"ninety"},
       0},
      {u"de",
       Single({u"rad zeigen", u"rad ausblenden", u"nächstes rad", u"vorheriges rad",
               u"gitter zeigen", u"gitter ausblenden", u"klick", u"doppelklick", u"rechtsklick",
               u"elemente zeigen", u"elemente ausblenden", u"seitenelemente zeigen", u"tastatur",
               u"vorlesen", u"vorlesen stoppen", u"alles loslassen", u"telefon zeigen",
               u"anruf annehmen", u"auflegen"}),
       u"doppelklick auf ",
       u"rechtsklick auf ",
       {u"eins", u"zwei", u"drei", u"vier", u"fünf", u"sechs", u"sieben", u"acht", u"neun"},
       {u"zehn", u"elf", u"zwölf", u"dreizehn", u"vierzehn", u"fünfzehn", u"sechzehn", u"siebzehn",
        u"achtzehn", u"neunzehn"},
       {u"zwanzig", u"dreißig", u"vierzig", u"fünfzig", u"sechzig", u"siebzig", u"achtzig",
        u"neunzig"},
       1},
      {u"es",
       Single({u"mostrar rueda", u"ocultar rueda", u"siguiente rueda", u"rueda anterior",
               u"mostrar rejilla", u"ocultar rejilla", u"clic", u"doble clic", u"clic derecho",
               u"mostrar elementos", u"ocultar elementos", u"elementos de página", u"teclado",
               u"leer en voz alta", u"detener lectura", u"soltar todo", u"mostrar teléfono",
               u"contestar llamada", u"colgar"}),
       u"doble clic en ",
       u"clic derecho en ",
       {u"uno", u"dos", u"tres", u"cuatro", u"cinco", u"seis", u"siete", u"ocho", u"nueve"},
       {u"diez", u"once", u"doce", u"trece", u"catorce", u"quince", u"dieciséis", u"diecisiete",
        u"dieciocho", u"diecinueve"},
       {u"veinte", u"treinta", u"cuarenta", u"cincuenta", u"sesenta", u"setenta", u"ochenta",
        u"noventa"},
       2},
      {u"fr",
       Single({u"afficher la roue", u"masquer la roue", u"roue suivante", u"roue précédente",
               u"afficher la grille", u"masquer la grille", u"clic", u"double clic", u"clic droit",
               u"afficher les éléments", u"masquer les éléments", u"éléments de la page",
               u"clavier", u"lire à voix haute", u"arrêter la lecture", u"tout relâcher",
               u"afficher le téléphone", u"répondre au téléphone", u"raccrocher"}),
       u"double clic sur ",
       u"clic droit sur ",
       {u"un", u"deux", u"trois", u"quatre", u"cinq", u"six", u"sept", u"huit", u"neuf"},
       {u"dix", u"onze", u"douze", u"treize", u"quatorze", u"quinze", u"seize", u"dix-sept",
        u"dix-huit", u"dix-neuf"},
       {u"vingt", u"trente", u"quarante", u"cinquante", u"soixante", u"soixante-dix",
        u"quatre-vingts", u"quatre-vingt-dix"},
       0},
      {u"it",
       Single({u"mostra ruota", u"nascondi ruota", u"ruota successiva", u"ruota precedente",
               u"mostra griglia", u"nascondi griglia", u"clic", u"doppio clic", u"clic destro",
               u"mostra elementi", u"nascondi elementi", u"elementi della pagina", u"tastiera",
               u"leggi ad alta voce", u"ferma la lettura", u"rilascia tutto", u"mostra telefono",
               u"rispondi al telefono", u"riaggancia"}),
       u"doppio clic su ",
       u"clic destro su ",
       {u"uno", u"due", u"tre", u"quattro", u"cinque", u"sei", u"sette", u"otto", u"nove"},
       {u"dieci", u"undici", u"dodici", u"tredici", u"quattordici", u"quindici", u"sedici",
        u"diciassette", u"diciotto", u"diciannove"},
       {u"venti", u"trenta", u"quaranta", u"cinquanta", u"sessanta", u"settanta", u"ottanta",
        u"novanta"},
       0},
      {u"uk",
       Single({u"показати колесо", u"сховати колесо", u"наступне колесо", u"попереднє колесо",
               u"показати сітку", u"сховати сітку", u"клік", u"подвійний клік", u"правий клік",
               u"показати елементи", u"сховати елементи", u"елементи сторінки", u"клавіатура",
               u"прочитай уголос", u"зупини читання", u"відпусти все", u"показати телефон",
               u"прийняти дзвінок", u"завершити дзвінок"}),
       u"подвійний клік на ",
       u"правий клік на ",
       {u"один", u"два", u"три", u"чотири", u"п'ять", u"шість", u"сім", u"вісім", u"дев'ять"},
       {u"десять", u"одинадцять", u"дванадцять", u"тринадцять", u"чотирнадцять", u"п'ятнадцять",
        u"шістнадцять", u"сімнадцять", u"вісімнадцять", u"дев'ятнадцять"},
       {u"двадцять", u"тридцять", u"сорок", u"п'ятдесят", u"шістдесят", u"сімдесят", u"вісімдесят",
        u"дев'яносто"},
       0},
      {u"ru",
       Single({u"показать колесо", u"скрыть колесо", u"следующее колесо", u"предыдущее колесо",
               u"показать сетку", u"скрыть сетку", u"клик", u"двойной клик", u"правый клик",
               u"показать элементы", u"скрыть элементы", u"элементы страницы", u"клавиатура",
               u"прочитай вслух", u"останови чтение", u"отпусти всё", u"показать телефон",
               u"принять звонок", u"завершить звонок"}),
       u"двойной клик на ",
       u"правый клик на ",
       {u"один", u"два", u"три", u"четыре", u"пять", u"шесть", u"семь", u"восемь", u"девять"},
       {u"десять", u"одиннадцать", u"двенадцать", u"тринадцать", u"четырнадцать", u"пятнадцать",
        u"шестнадцать", u"семнадцать", u"восемнадцать", u"девятнадцать"},
       {u"двадцать", u"тридцать", u"сорок", u"пятьдесят", u"шестьдесят", u"семьдесят",
        u"восемьдесят", u"девяносто"},
       0},
      {u"zh_CN",
       Single({u"显示轮盘", u"隐藏轮盘", u"下一个轮盘", u"上一个轮盘", u"显示网格", u"隐藏网格",
               u"点击", u"双击", u"右键", u"显示元素", u"隐藏元素", u"页面元素", u"键盘", u"朗读",
               u"停止朗读", u"松开所有按键", u"显示手机", u"接听电话", u"挂断电话"}),
       u"双击 ",
       u"右键 ",
       {u"一", u"二", u"三", u"四", u"五", u"六", u"七", u"八", u"九"},
       {u"十", u"十一", u"十二", u"十三", u"十四", u"十五", u"十六", u"十七", u"十八", u"十九"},
       {u"二十", u"三十", u"四十", u"五十", u"六十", u"七十", u"八十", u"九十"},
       3},
      {u"ko",
       Single({u"휠 표시", u"휠 숨기기", u"다음 휠", u"이전 휠", u"격자 표시", u"격자 숨기기",
               u"클릭", u"더블 클릭", u"오른쪽 클릭", u"요소 표시", u"요소 숨기기", u"페이지 요소",
               u"키보드", u"소리 내어 읽기", u"읽기 중지", u"모두 놓기", u"휴대폰 표시",
               u"전화 받기", u"전화 끊기"}),
       u"더블 클릭 ",
       u"오른쪽 클릭 ",
       {u"일", u"이", u"삼", u"사", u"오", u"육", u"칠", u"팔", u"구"},
       {u"십", u"십일", u"십이", u"십삼", u"십사", u"십오", u"십육", u"십칠", u"십팔", u"십구"},
       {u"이십", u"삼십", u"사십", u"오십", u"육십", u"칠십", u"팔십", u"구십"},
       3},
      {u"ja",
       Single({u"ホイールを表示", u"ホイールを隠す", u"次のホイール", u"前のホイール",
               u"グリッドを表示", u"グリッドを隠す", u"クリック", u"ダブルクリック", u"右クリック",
               u"要素を表示", u"要素を隠す", u"ページ要素", u"キーボード", u"読み上げ",
               u"読み上げ停止", u"すべて離す", u"電話を表示", u"電話に出る", u"電話を切る"}),
       u"ダブルクリック ",
       u"右クリック ",
       {u"一", u"二", u"三", u"四", u"五", u"六", u"七", u"八", u"九"},
       {u"十", u"十一", u"十二", u"十三", u"十四", u"十五", u"十六", u"十七", u"十八", u"十九"},
       {u"二十", u"三十", u"四十", u"五十", u"六十", u"七十", u"八十", u"九十"},
       3},
  };
  return kLanguages;
}

const Language& LanguageOf(std::u16string_view code) {
  for (const auto& l : Languages())
    if (l.code == code) return l;
  return Languages()[1];  // English
}

void AddFieldPhrases(PhraseTable& out, const std::u16string& voice, int wheel, int field) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = voice.find(u'|', start);
    const std::u16string part = Trim(std::u16string_view(voice).substr(
        start, bar == std::u16string::npos ? std::u16string::npos : bar - start));
    if (!part.empty()) out.push_back({WideToUtf8(ToLower(part)), 0, wheel, field});
    if (bar == std::u16string::npos) break;
    start = bar + 1;
  }
}

}  // namespace

std::u16string ResolveVoiceLanguage(std::u16string_view language,
                                    const std::filesystem::path& dir) {
  const std::u16string folder = ModelFolderOf(language);
  std::error_code ec;
  if (!folder.empty() && std::filesystem::is_directory(dir / std::filesystem::path(folder), ec))
    return std::u16string(language);
  return u"en";
}

std::u16string ModelFolderOf(std::u16string_view language) {
  for (const auto& m : kModels)
    if (m.language == language) return std::u16string(m.folder);
  return {};
}

std::u16string ModelFolderName(std::u16string_view voiceModel, std::u16string_view voiceLanguage) {
  if (voiceModel != kDefaultVoiceModel) return std::u16string(voiceModel);
  const std::u16string folder = ModelFolderOf(voiceLanguage);
  return folder.empty() ? std::u16string(u"vosk-model-small-en-us-0.15") : folder;
}

std::u16string NumberWord(std::u16string_view voiceLanguage, int n) {
  const Language& l = LanguageOf(voiceLanguage);
  if (n < 1 || n > 99) return {};
  if (n < 10) return std::u16string(l.units[static_cast<std::size_t>(n - 1)]);
  if (n < 20) return std::u16string(l.teens[static_cast<std::size_t>(n - 10)]);
  const std::u16string tens(l.tens[static_cast<std::size_t>(n / 10 - 2)]);
  if (n % 10 == 0) return tens;
  const std::u16string units(l.units[static_cast<std::size_t>(n % 10 - 1)]);
  switch (l.mode) {
    case 1:
      return units + u"und" + tens;
    case 2:
      return tens + u" y " + units;
    case 3:
      return tens + units;
    default:
      return tens + u" " + units;
  }
}

PhraseTable BuildPhrases(std::u16string_view voiceLanguage, const WheelList& wheels,
                         const std::vector<WheelAction>& globalActions) {
  PhraseTable out;
  const Language& l = LanguageOf(voiceLanguage);
  for (int id : kCommandOrder)
    for (const auto& c : l.commands)
      if (c.id == id)
        for (auto p : c.phrases) out.push_back({WideToUtf8(ToLower(p)), id, kWheelBuiltIn, 0});
  for (int n = 1; n <= 99; ++n) {
    const std::u16string word = NumberWord(l.code, n);
    out.push_back({WideToUtf8(ToLower(word)), 100 + n, kWheelBuiltIn, 0});
    out.push_back(
        {WideToUtf8(ToLower(std::u16string(l.doublePrefix) + word)), 300 + n, kWheelBuiltIn, 0});
    out.push_back(
        {WideToUtf8(ToLower(std::u16string(l.rightPrefix) + word)), 500 + n, kWheelBuiltIn, 0});
  }
  for (std::size_t w = 0; w < wheels.size(); ++w)
    for (std::size_t f = 0; f < wheels[w].fields.size(); ++f)
      if (!wheels[w].fields[f].voice.empty())
        AddFieldPhrases(out, wheels[w].fields[f].voice, static_cast<int>(w), static_cast<int>(f));
  for (std::size_t i = 0; i < globalActions.size(); ++i)
    if (!globalActions[i].voice.empty())
      AddFieldPhrases(out, globalActions[i].voice, kWheelGlobalAction, static_cast<int>(i));
  return out;
}

std::string BuildGrammarText(const PhraseTable& phrases, const WordLookup& lookup) {
  std::string out = "[";
  for (const auto& p : phrases) {
    if (lookup) {
      bool known = true;
      std::size_t start = 0;
      while (known && start <= p.text.size()) {
        const std::size_t space = p.text.find(' ', start);
        const std::string word =
            p.text.substr(start, space == std::string::npos ? std::string::npos : space - start);
        if (!word.empty() && lookup(word) < 0) known = false;
        if (space == std::string::npos) break;
        start = space + 1;
      }
      if (!known) continue;
    }
    out += '"';
    for (char c : p.text) {
      if (c == '"' || c == '\\') out += '\\';
      out += c;
    }
    out += "\",";
  }
  return out + "\"[unk]\"]";
}

std::vector<WheelAction> GlobalVoiceActions(const std::filesystem::path& dir,
                                            const std::vector<std::u16string>& schemes,
                                            LoadReport* report) {
  std::vector<WheelAction> out;
  WheelList list;
  std::error_code ec;
  if (std::filesystem::exists(dir / "voice.json", ec)) {
    LoadWheelFile(dir / "voice.json", list, kCommandListFieldLimit, report);
    for (const auto& wheel : list)
      for (const auto& field : wheel.fields)
        if (!field.voice.empty()) out.push_back(field);
  }
  for (const auto& name : schemes) {
    WheelAction a;
    a.name = name;
    a.voice = u"schemat " + name;
    Step s;
    s.kind = StepKind::Profile;
    s.text = name;
    a.steps.push_back(std::move(s));
    out.push_back(std::move(a));
  }
  return out;
}

}  // namespace velmor::voice
