#include "plans/library_texts.h"

#include "usul/library_file.h"

namespace zerkavi {

std::string libraryProblemText(const LibraryState& s, Language lang) {
    const bool tr = lang == Language::Turkish;
    const std::string file = kLibraryFileName;
    const std::string slots = std::to_string(s.readableSlots);
    std::string what;
    switch (s.shape) {
    case LibraryShape::Whole:
        return {};
    case LibraryShape::Short:
        what = tr ? "Kütüphane dosyası " + file + " eksik: 256 usulün yalnızca " + slots +
                        " tanesi okunabiliyor."
                  : "The library file " + file + " is short: only " + slots +
                        " of its 256 usuls can be read.";
        break;
    case LibraryShape::Long:
        what =
            tr ? "Kütüphane dosyası " + file + " beklenenden uzun: yalnızca ilk 256 usul okunuyor."
               : "The library file " + file +
                     " is longer than a library: only its first 256 usuls are read.";
        break;
    case LibraryShape::NotALibrary:
        what =
            tr ? file + " bir usul kütüphanesi değil; okunabilen " + slots + " usul gösteriliyor."
               : file + " is not an usul library; the " + slots +
                     " usuls that can be read are shown.";
        break;
    case LibraryShape::Unreadable:
        what = tr ? "Kütüphane dosyası " + file + " okunamıyor."
                  : "The library file " + file + " cannot be read.";
        break;
    }
    return what + (tr ? " Dosyaya dokunulmayacak ve hiçbir değişiklik kaydedilmeyecek."
                      : " The file will not be touched and no change will be saved.");
}

std::string saveFailedText(Language lang) {
    return lang == Language::Turkish ? "Kaydedilemedi: kütüphane dosyasına yazılamadı."
                                     : "Not saved: the library file could not be written.";
}

} // namespace zerkavi
