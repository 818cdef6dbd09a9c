// The language tables as UTF-8 text, turned into each language's code-page
// bytes the first time they are asked for. Keeping the sources in UTF-8
// keeps them readable and lets one table serve languages of different pages
// (the English names of language 18 are bytes of page 950, for instance).
#include "framework/LanguageTables.h"

#include "platform/CodePage.h"

#include <array>
#include <vector>

namespace LanguageTables {
namespace {

struct LanguageRow {
    const char* key;
    const char* englishName;  // null: the language has none
    const char* nativeName;   // UTF-8
    int codePage;
};

// Indexed by language id - 1.
const LanguageRow kLanguages[kLanguageCount] = {
    {"english", "English", "English", 1252},
    {"english-uk", "English-UK", "English", 1252},
    {"french", "French", "Français", 1252},
    {"german", "German", "Deutsch", 1252},
    {"italian", "Italian", "Italiano", 1252},
    {"spanish", "Spanish", "Español", 1252},
    {"dutch", "Dutch", "Nederlands", 1252},
    {"danish", "Danish", "Dansk", 1252},
    {"swedish", "Swedish", "Svensk", 1252},
    {"norwegian", "Norwegian", "Untranslated", 1252},
    {"finnish", "Finnish", "Suomi", 1252},
    {"english", "Hebrew", "Untranslated", 1255},
    {"russian", "Russian", "Untranslated", 1251},
    {"portuguese", "Portuguese", "Portugues", 1252},
    {"japanese", "Japanese", "日本語", 932},
    {"polish", "Polish", "Untranslated", 1250},
    {"chinese-simplified", "SimplifiedChinese", "Untranslated", 936},
    {"chinese-traditional", "TraditionalChinese", "Untranslated", 950},
    {"thai", "Thai", "Thai", 874},
    {"korean", nullptr, "Untranslated", 949},
};

// Windows locale ids and their languages; any other id is language 1.
const std::pair<std::uint16_t, std::uint8_t> kLcids[] = {
    {2057, 2},  {3081, 2},  {5129, 2},  {6153, 2},  {1036, 3},  {2060, 3},  {2067, 3},  {3084, 3},
    {4108, 3},  {1031, 4},  {2055, 4},  {3079, 4},  {1040, 5},  {2064, 5},  {1034, 6},  {2058, 6},
    {3082, 6},  {1043, 7},  {1030, 8},  {1053, 9},  {1044, 10}, {2068, 10}, {1035, 11}, {1049, 13},
    {1046, 14}, {2070, 14}, {1041, 15}, {1045, 16}, {2052, 17}, {1028, 18}, {1054, 19},
};

// Currency symbols when local currencies are shown, as code-page bytes.
const char* const kLocalCurrency[kLanguageCount] = {
    "$",   "\xA3", "F",    "DM",   "L.",   "Pts",         "F",           "kr",   "kr",  "kr",
    "mk",  "NIS",  "py\xE1", "Esc.", "\xA5", "Z\xB3", "RMB\xA5", "RMB\xA5", "\xDF", "$",
};

struct NameRow {
    std::array<std::uint8_t, 3> languages;  // 0 ends the list
    std::array<const char*, 12> names;
};

const NameRow kDayNames[] = {
    {{1, 2, 18}, {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"}},
    {{3}, {"Lundi", "Mardi", "Mercredi", "Jeudi", "Vendredi", "Samedi", "Dimanche"}},
    {{4}, {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"}},
    {{5}, {"Lunedì", "Martedì", "Mercoledì", "Giovedì", "Venerdì", "Sabato", "Domenica"}},
    {{6}, {"Lunes", "Martes", "Miércoles", "Jueves", "Viernes", "Sábado", "Domingo"}},
    {{7}, {"Maandag", "Dinsdag", "Woensdag", "Donderdag", "Vrijdag", "Zaterdag", "Zondag"}},
    {{8}, {"mandag", "tirsdag", "onsdag", "torsdag", "fredag", "lørdag", "søndag"}},
    {{9}, {"Måndag", "Tisdag", "Onsdag", "Torsdag", "Fredag", "Lördag", "Söndag"}},
    {{10}, {"mandag", "tirsdag", "onsdag", "torsdag", "fredag", "lørdag", "søntag"}},
    {{11}, {"Maanantai", "Tiistai", "Keskiviikko", "Torstai", "Perjantai", "Lauantai", "Sunnuntai"}},
    {{12}, {"´בםוי", "´גםוי", "´דםוי", "´הםוי", "´וםוי", "תבש", "´אםוי"}},
    {{13}, {"понедельник", "вторник", "среда", "четверг", "пятница", "суббота", "воскресенье"}},
    {{14}, {"Segunda-feira", "Terça-feira", "Quarta-feira", "Quinta-feira", "Sexta-feira", "Sábado", "Domingo"}},
    {{15}, {"月曜", "火曜", "水曜", "木曜", "金曜", "土曜", "日曜"}},
    {{16}, {"Poniedziałek", "Wtorek", "Środa", "Czwartek", "Piątek", "Sobota", "Niedziela"}},
    {{17}, {"星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"}},
    {{19}, {"จ", "อ", "พ", "พฤ", "ศ", "ส", "อา"}},
};

const NameRow kShortDayNames[] = {
    {{1, 2}, {"Mon", "Tue", "Wed", "Thur", "Fri", "Sat", "Sun"}},
    {{18}, {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}},
    {{3}, {"lun", "mar", "mer", "jeu", "ven", "sam", "dim"}},
    {{4}, {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"}},
    {{5}, {"Lun", "Mar", "Mer", "Gio", "Ven", "Sab", "Dom"}},
    {{6}, {"L", "M", "X", "J", "V", "S", "D"}},
    {{7}, {"Ma", "Di", "Wo", "Do", "Vr", "Za", "Zo"}},
    {{9}, {"Mån", "Tis", "Ons", "Tor", "Fre", "Lör", "Sön"}},
    {{11}, {"ma", "ti", "ke", "to", "pe", "la", "su"}},
    {{13}, {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"}},
    {{14}, {"Seg", "Ter", "Qua", "Qui", "Sex", "Sab", "Dom"}},
    {{15}, {"月", "火", "水", "木", "金", "土", "日"}},
    {{16}, {"Pn", "Wt", "Śr", "Cz", "Pt", "So", "N"}},
    {{17}, {"一", "二", "三", "四", "五", "六", "日"}},
};

const NameRow kMonthNames[] = {
    {{1, 2, 18}, {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October", "November", "December"}},
    {{3}, {"janvier", "février", "mars", "avril", "mai", "juin", "juillet", "août", "septembre", "octobre", "novembre", "décembre"}},
    {{4}, {"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August", "September", "Oktober", "November", "Dezember"}},
    {{5}, {"Gennaio", "Febbraio", "Marzo", "Aprile", "Maggio", "Giugno", "Luglio", "Agosto", "Settembre", "Ottobre", "Novembre", "Dicembre"}},
    {{6}, {"Enero", "Febrero", "Marzo", "Abril", "Mayo", "Junio", "Julio", "Agosto", "Septiembre", "Octubre", "Noviembre", "Diciembre"}},
    {{7}, {"Januari", "Februari", "Maart", "April", "Mei", "Juni", "Juli", "Augustus", "September", "Oktober", "November", "December"}},
    {{8}, {"januar", "februar", "marts", "april", "maj", "juni", "juli", "august", "september", "oktober", "november", "december"}},
    {{9}, {"Januari", "Februari", "Mars", "April", "Maj", "Juni", "Juli", "Augusti", "September", "Oktober", "November", "December"}},
    {{11}, {"tamikuu", "helmikuu", "maaliskuu", "huhtikuu", "toukokuu", "kesäkuu", "heinäkuu", "elokuu", "syyskuu", "lokakuu", "marraskuu", "joulukuu"}},
    {{12}, {"יךשת", "untranslated", "untranslated", "untranslated", "untranslated", "untranslated", "untranslated", "untranslated", "untranslated", "untranslated", "untranslated", "untranslated"}},
    {{13}, {"январь", "февраль", "март", "апрель", "май", "июнь", "июль", "август", "сентябрь", "октябрь", "ноябрь", "декабрь"}},
    {{14}, {"Janeiro", "Fevereiro", "Março", "Abril", "Maio", "Junho", "Julho", "Agosto", "Setembro", "Outubro", "Novembro", "Dezembro"}},
    {{15, 17}, {"1月", "2月", "3月", "4月", "5月", "6月", "7月", "8月", "9月", "10月", "11月", "12月"}},
    {{16}, {"Styczeń", "Luty", "Marzec", "Kwiecień", "Maj", "Czerwiec", "Lipiec", "Sierpień", "Wrzesień", "Październik", "Listopad", "Grudzień"}},
    {{19}, {"มกราคม", "กุมภาพันธ์", "มีนาคม", "เมษายน", "พฤษภาคม", "มิถุนายน", "กรกฎาคม", "สิงหาคม", "กันยายน", "ตุลาคม", "พฤศจิกายน", "ธันวาคม"}},
};

const NameRow kShortMonthNames[] = {
    {{1, 2, 18}, {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"}},
    {{3}, {"jan", "fév", "mar", "Avr", "mai", "juin", "juil", "août", "sept", "oct", "nov", "déc"}},
    {{4}, {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"}},
    {{5}, {"Gen", "Feb", "Mar", "Apr", "Mag", "Giu", "Lug", "Ago", "Set", "Ott", "Nov", "Dic"}},
    {{6}, {"En", "Feb", "Mar", "Abr", "Mayo", "Jun", "Jul", "Ag", "Sep", "Oct", "Nov", "Dic"}},
    {{7}, {"Jan", "Feb", "Mrt", "Apr", "Mei", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dec"}},
    {{9}, {"Jan", "Feb", "Mar", "Apr", "Maj", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dec"}},
    {{13}, {"янв", "фев", "мар", "апр", "май", "июн", "июл", "авг", "сен", "окт", "ноя", "дек"}},
    {{14}, {"Jan", "Fev", "Mar", "Abr", "Mai", "Jun", "Jul", "Ago", "Set", "Out", "Nov", "Dez"}},
    {{16}, {"Sty", "Lut", "Mar", "Kwi", "Maj", "Cze", "Lip", "Sie", "Wrz", "Paź", "Lis", "Gru"}},
};

// Languages whose names of one kind are those of another kind.
struct Alias {
    NameKind kind;
    std::uint8_t language;
    NameKind sameAs;
};
const Alias kAliases[] = {
    {NameKind::ShortDay, 19, NameKind::Day},
    {NameKind::ShortMonth, 15, NameKind::Month},
    {NameKind::ShortMonth, 17, NameKind::Month},
    {NameKind::ShortMonth, 19, NameKind::Month},
};

struct RowTable {
    const NameRow* rows;
    std::size_t count;
};

RowTable RowsOf(NameKind kind) {
    switch (kind) {
    case NameKind::Day: return {kDayNames, std::size(kDayNames)};
    case NameKind::ShortDay: return {kShortDayNames, std::size(kShortDayNames)};
    case NameKind::Month: return {kMonthNames, std::size(kMonthNames)};
    case NameKind::ShortMonth: return {kShortMonthNames, std::size(kShortMonthNames)};
    }
    return {nullptr, 0};
}

const NameRow* FindRow(NameKind kind, std::uint32_t language) {
    for (const Alias& alias : kAliases)
        if (alias.kind == kind && alias.language == language) kind = alias.sameAs;
    RowTable table = RowsOf(kind);
    for (std::size_t i = 0; i < table.count; ++i)
        for (std::uint8_t id : table.rows[i].languages)
            if (id == language) return &table.rows[i];
    return nullptr;
}

// Every text in its language's code page, converted once.
struct Converted {
    std::array<std::array<std::vector<std::string>, 4>, kLanguageCount> names;
    std::array<std::string, kLanguageCount> nativeNames;
    bool exact = true;

    Converted() {
        for (std::uint32_t id = 1; id <= kLanguageCount; ++id) {
            const platform::CodePage& page = platform::CodePage::Get(kLanguages[id - 1].codePage);
            auto convert = [&](const char* utf8) {
                bool ok = false;
                std::string bytes = page.FromUtf8(utf8, &ok);
                exact = exact && ok;
                return bytes;
            };
            nativeNames[id - 1] = convert(kLanguages[id - 1].nativeName);
            for (NameKind kind : {NameKind::Day, NameKind::ShortDay, NameKind::Month, NameKind::ShortMonth}) {
                const NameRow* row = FindRow(kind, id);
                if (!row) continue;
                std::size_t count = kind == NameKind::Day || kind == NameKind::ShortDay ? 7 : 12;
                auto& out = names[id - 1][static_cast<std::size_t>(kind)];
                for (std::size_t i = 0; i < count; ++i) out.push_back(convert(row->names[i]));
            }
        }
    }
};

const Converted& Tables() {
    static const Converted tables;
    return tables;
}

bool Valid(std::uint32_t language) { return language >= 1 && language <= kLanguageCount; }

} // namespace

const std::string* Name(std::uint32_t language, NameKind kind, std::uint32_t index) {
    if (!Valid(language)) return nullptr;
    const auto& names = Tables().names[language - 1][static_cast<std::size_t>(kind)];
    if (index < 1 || index > names.size()) return nullptr;
    return &names[index - 1];
}

bool HasNames(std::uint32_t language, NameKind kind) {
    return Valid(language) && !Tables().names[language - 1][static_cast<std::size_t>(kind)].empty();
}

const char* Key(std::uint32_t language) { return Valid(language) ? kLanguages[language - 1].key : nullptr; }

const char* EnglishName(std::uint32_t language) {
    return Valid(language) ? kLanguages[language - 1].englishName : nullptr;
}

const std::string* NativeName(std::uint32_t language) {
    return Valid(language) ? &Tables().nativeNames[language - 1] : nullptr;
}

int CodePage(std::uint32_t language) { return Valid(language) ? kLanguages[language - 1].codePage : 1252; }

std::uint32_t LanguageFromLcid(std::uint16_t lcid) {
    for (const auto& [id, language] : kLcids)
        if (id == lcid) return language;
    return 1;
}

const char* LocalCurrencySymbol(std::uint32_t language) {
    return Valid(language) ? kLocalCurrency[language - 1] : "$";
}

const char* ThousandsSeparator(std::uint32_t language) {
    switch (language) {
    case 3: case 4: case 5: case 6: case 7: case 8: case 9: case 13: case 14: return ".";
    case 10: case 11: return " ";
    case 16: return "";
    default: return ",";
    }
}

bool ConvertedExactly() { return Tables().exact; }

} // namespace LanguageTables
