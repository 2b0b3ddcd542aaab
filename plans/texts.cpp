// Captions and messages of both languages. Leading and trailing blanks are part of the
// texts and must stay as they are.
#include "plans/texts.h"

#include <initializer_list>
#include <iterator>

namespace zerkavi {

namespace {

// clang-format off
const Caption kCaptions[] = {
    {"ArayüzKalıp", "Zerkavi editor", "Zerkavi editörü"},
    {"Mn_Lisanlar", "Turkce", "English"},
    {"Mn_yardm", "Help", "Yardım"},
    {"Mn_bilgi", "About", "Hakkında"},
    {"Mn_volüm", "Loudnesses", "Gürlük"},
    {"Mn_orta", "M (Mezzoforte)", "O (Orta)"},
    {"Mn_zayıf", "P (Piano)", "Z (Zayıf)"},
    {"Mn_RenkZemin", "Color", "Renk"},
    {"Mn_editNota(6)", "Del RH", "Düm Sil"},
    {"Mn_editNota(8)", "Del LH", "Tek Sil"},
    {"But_baskı", "Print", "Baskı"},
    {"But_JPG", "J P G", "J P G"},
    {"But_optimize", "Auto-Layout", "Düzenle"},
    {"Frame7", "Beat durations ", "Mertebe "},
    {"Frame4", "Edit ", "Düzen "},
    {"Frame3", "Usul name and slot number ", "Usul adı ve liste numarası "},
    {"But_mertebe(0)", "Double durations", "Birim zaman x 2"},
    {"But_mertebe(1)", "Halve durations", "Birim zaman / 2"},
    {"But_yükle", "Choose from list", "Listeden seç"},
    {"But_farklı", "Save as", "Farklı kaydet"},
    {"But_Sil", "Delete", "S i l"},
    {"Frame2", "Play", "Duyur"},
    {"But_Baslat", "Start", "Başla"},
    {"But_Dur", "Stop", "Dur"},
    {"Option3", "Looped", "Devamlı"},
    {"Option2", "Once", "Tekli"},
    {"Option4", "Planned", "Planlı"},
    {"Frame1", "Percussion", "Ritimsaz"},
    {"Option1(1)", "Qudum", "Kudüm"},
    {"Option1(2)", "Bendir", "Bendir"},
    {"Option1(3)", "Tambourine", "Def"},
    {"But_Temizle", "Clear", "Temizle"},
    {"But_kaydet", "Save", "Kaydet"},
    {"Frame5", " Saved work plans ", " Kayıtlı meşk planları "},
    {"Frame10", "Rehearse from sequence", "Meşkde ilk bölüm "},
    {"Frame9", " Define / edit sequence ", " Bölüm tanımla / düzenle "},
    {"Command3", "Stop", "Dur"},
    {"Command4", "Start", "Başla"},
    {"Command5", "Del", "Sil"},
    {"Command8", "Save", "Kaydet"},
    {"Command10", "New ", "Yeni"},
    {"Label2", "Sequence name            Usul Nr       Time(s)    Unit       BpM ", "Bölüm adı                           Usul Nr    Tekrar    Birim     Metronom "},
    {"Label3", "00.00.000", "00.00.000"},
    {"Label9", "Plan name", "Plan adı"},
    {"Frame12", "WORK PLAN EXAMPLE", "MEŞK PLANI ÖRNEĞİ"},
    {"Frame13", "Saved work plans view", "Meşk planları listesinin görünümü"},
    {"Frame14", "Sequences view", "Bölüm detayları görünümü"},
};

const char* const kEnglishMessages[] = {
    "", // entries are counted from 1
    "    Error loading usul.   ",
    "   Please give a name to this usul.   ",
    "              No beats !             ",
    "Cannot save to list between 1-200! Please try higher slots.",
    "Beats are less than time signature.",
    "Beats exceed time signature.",
    "Durations cannot be changed more.",
    "Do you want to close this program?",
    "File usuller.usl not found. Program will close.",
    "Do you want to delete this usul permanently ?",
    "",
    "",
    "       Soundfile error.       ",
    "       Unknown error.       ",
    "Please load first an empty usul from the list first.",
    "Exceed",
    "Match",
    "Short",
    "F",
    "M",
    "P",
    "Cannot use forbidden characters in usul name. Please try to rename.",
    nullptr, // Help, composed below
    nullptr, // About, composed below
    "Please select a plan.",
    "Please give a name to this plan.",
    "No Sequence !.",
    "  Invalid entry or blank in sequence name.  Line: ",
    "  Invalid usul nr.  Line:  ",
    "  Unexpected dash line.  Line: ",
    "  Invalid beat nr.  Line: ",
    "  Invalid unit note value. Line: ",
    "BpM is greater than maximum.  Line: ",
    "BpM is less than minimum.  Line: ",
    "Unexpected greater-than sign.  Line: ",
    "Intro BpM is greater than maximum.  Line: ",
    "Intro BpM is less than minimum.   Line: ",
    "Final BpM is greater than maximum.  Line: ",
    "Final BpM is less than minimum.  Line: ",
};

const char* const kTurkishMessages[] = {
    "", // entries are counted from 1
    "     usul okuma başarısız.     ",
    "     Lutfen bu usule bir isim verin.    ",
    "       Girilmiş darp yok.       ",
    "1-200 arası  usuller değiştirilemez, Lutfen daha büyük numaraları deneyin.",
    "       Eksik darp girildi.        ",
    "       Fazla darp girildi.       ",
    "      Mertebe daha fazla değiştirilemez.      ",
    "Bu proğramı kapatmak istiyormusunuz ?",
    "Dosya usuller.usl dosyası bulunamadı. Program kapatılacak.",
    "Bu usulü kalıcı olarak silmek istiyor musunuz ?",
    "",
    "",
    "   Ses dosyası hatası.   ",
    "     Bilinmeyen hata.     ",
    "Önce listeden BOŞ bir usul yükleyin.",
    "Fazla",
    "Tamam",
    "Eksik",
    "K",
    "O",
    "Z",
    "Usul isminde özel karakterler bulunamaz, yeniden isimlendirmeyi deneyin.",
    nullptr, // Help, composed below
    nullptr, // About, composed below
    "Bir meşk planı seçin.  ",
    "Meşk planına bir isim verin.  ",
    "Hiç bölüm girilmemiş.  ",
    "Hatalı giriş veya bölüm adında boşluk var.  Satır: ",
    "Hatalı usul numarası.  Satır: ",
    "Hatalı tire çizgisi.  Satır: ",
    "Hatalı halka no.  Satır: ",
    "Hatalı birim nota değeri.  Satır: ",
    "Metronom çok yüksek.  Satır: ",
    "Metronom çok düşük.  Satır: ",
    "Hatalı metronom işareti.  Satır: ",
    "Giriş metronomu çok yüksek.  Satır: ",
    "Giriş metronomu çok düşük.  Satır: ",
    "Çıkış metronomu çok yüksek.  Satır: ",
    "Çıkış metronomu çok düşük.  Satır: ",
};

// clang-format on

const char* const kCrLf = "\r\n";

std::string joinLines(std::initializer_list<const char*> lines) {
    std::string s;
    bool first = true;
    for (const char* l : lines) {
        if (!first) s += kCrLf;
        s += l;
        first = false;
    }
    return s;
}

LanguageTexts makeEnglish() {
    LanguageTexts t;
    for (std::size_t i = 1; i < std::size(kEnglishMessages); ++i)
        if (kEnglishMessages[i]) t.message[Message(i)] = kEnglishMessages[i];
    t.message[Message::helpText] = joinLines({
        "Read the textfile 'ReadMe.doc' at your workdirectory to learn how to use this program.",
        "Questions, wishes and error reports are welcome in the issue tracker of the Zerkavi "
        "project.",
        "Please describe what you did and attach the usul or work plan concerned.",
    });
    t.message[Message::aboutText] = joinLines({
        "Zerkavi editor - an editor and player for the usuls of Turkish classical music.",
        "",
        "Many thanks to the students and teachers who tested this program",
        "and helped to improve it with their remarks.",
        "",
        "Zerkavi project, December 2026.",
    });
    t.message[Message::timeSignatureRange] =
        "The numbers of the time signature must lie between 0 and 255.";
    t.message[Message::totalTooLong] = "The usul is too long to be saved (at most 32767 64ths).";
    t.message[Message::planFileName] =
        "This plan name cannot be a file name. Please leave out / \\ : and control "
        "characters, do not use . or .. alone, and keep the name shorter.";
    t.message[Message::planNotSaved] =
        "The plan could not be saved (the disk is full or the folder cannot be written). "
        "The plan saved before is unchanged.";
    t.message[Message::planTooLong] =
        "This plan is too long: its sound would not fit in one sound file (4 GB).";
    t.message[Message::planNoDiskSpace] =
        "There is not enough free disk space for the sound of this plan.";
    t.message[Message::libraryReadOnly] =
        "The library file usuller.usl is read-only: nothing was saved.";
    t.pauseWord = "Pause";
    t.continueWord = "Continue";
    t.exampleText = joinLines({
        "Example piece: Peşrev in Muhammes usul (composer unnamed)",
        "",
        "-The usul of the composition is the 32/4 meter Muhammes.",
        "-Tempo is 84 beats per minute in quarter note resolution from the beginning of the "
        "piece to the end.",
        "-Each hane (movement) is composed of 2 measures (16 times Duyek usul) and is without "
        "repetition, ",
        "-While the Teslim (coda) is 1 measure (8 times Duyek usul) and is reprised.",
        "",
        "An usul work plan of the piece:",
        "- Let the composition be executed as just the 1st hane (movement) and teslim (coda).",
        "- Let the last Duyek usul in the reprised coda be the final measure.",
        "- Let the tempo drop down to 50 beats per minute towards the final is within the last "
        "measure (i.e. let the tempo decelerate down to the specified pace onward from the 49th "
        "beat circle in the velveleli (filled-beat) Muhammes usul whose slot number is 165 in "
        "the Usul list).",
        "",
        "THIS WORK PLAN WILL BE INDICATED AS SPECIFIED BELOW",
    });
    return t;
}

LanguageTexts makeTurkish() {
    LanguageTexts t;
    for (std::size_t i = 1; i < std::size(kTurkishMessages); ++i)
        if (kTurkishMessages[i]) t.message[Message(i)] = kTurkishMessages[i];
    t.message[Message::helpText] = joinLines({
        "Proğramın kullanımı için çalışma klasörünüzdeki BeniOku dosyasını dikkatle okuyun.",
        "Sorularınızı, dileklerinizi ve hata bildirimlerinizi Zerkavi projesinin konu "
        "takipçisine yazabilirsiniz.",
        "Lütfen ne yaptığınızı anlatın ve ilgili usulü veya meşk planını ekleyin.",
    });
    t.message[Message::aboutText] = joinLines({
        "Zerkavi editörü - Türk musikisi usulleri için bir düzenleyici ve çalıcı.",
        "",
        "Bu proğramı deneyen ve görüşleriyle geliştirilmesine yardım eden",
        "bütün öğrencilere ve hocalara teşekkür ederiz.",
        "",
        "Zerkavi projesi, Aralık 2026.",
    });
    t.message[Message::timeSignatureRange] = "Usul ölçüsünün sayıları 0 ile 255 arasında olmalı.";
    t.message[Message::totalTooLong] =
        "Usul kaydedilemeyecek kadar uzun (en çok 32767 altmışdörtlük).";
    t.message[Message::planFileName] =
        "Bu plan adı dosya adı olamaz. Lütfen / \\ : ve kontrol karakterlerini kullanmayın, "
        "yalnız . veya .. yazmayın ve adı kısaltın.";
    t.message[Message::planNotSaved] =
        "Meşk planı kaydedilemedi (disk dolu veya klasöre yazılamıyor). Daha önce kaydedilen "
        "plan değişmedi.";
    t.message[Message::planTooLong] =
        "Bu meşk planı çok uzun: sesi tek bir ses dosyasına sığmaz (4 GB).";
    t.message[Message::planNoDiskSpace] = "Diskte bu meşk planının sesi için yeterli boş yer yok.";
    t.message[Message::libraryReadOnly] =
        "Usul kütüphanesi usuller.usl salt okunur: hiçbir şey kaydedilmedi.";
    t.pauseWord = "Bekle";
    t.continueWord = "Devam";
    t.exampleText = joinLines({
        "Örnek eser: Muhammes usulünde peşrev (bestekârı belirtilmemiş)",
        "Muhammes peşrevi (bestekârı belirtilmemiş) için darp bilgileri:",
        "- Eserin usulü 32/4 lük Muhammes'tir. ",
        "- Metronom değeri parçanın başından sonuna kadar dörtlük birim nota çözünürlüğünde "
        "dakikada 84 vuruştur. ",
        "- Hanelerin herbiri 2 ölçü (16 adet Düyek) ve dönüşsüz olup, ",
        "- Teslim 1 mezür (8 adet düyek) ve dönüşlüdür. ",
        "",
        "Esere dair bir usul meşk planı:",
        "- Eser sadece birinci hane ve teslim olarak icra edilsin.",
        "-Teslimin tekrarında son Düyek bitiş ölçüsü olsun.",
        "- Bitiş ölçüsünde karara giderken metronom dakikada dakikada 50 vuruşa düşsün (usul "
        "listesinde 165 numaralı velveleli Muhammes usulünün 49. darp halkasından itibaren tempo "
        "belirtilen hıza insin).",
        "",
        "BU MEŞK PLANI AŞAĞIDA GÖSTERİLDİĞİ GİBİ BELİRTİLİR.",
    });
    return t;
}

} // namespace

std::span<const Caption> captionTable() {
    return kCaptions;
}

const char* captionFor(const Caption& c, Language lang) {
    return lang == Language::English ? c.english : c.turkish;
}

const LanguageTexts& languageTexts(Language lang) {
    static const LanguageTexts english = makeEnglish();
    static const LanguageTexts turkish = makeTurkish();
    return lang == Language::English ? english : turkish;
}

} // namespace zerkavi
