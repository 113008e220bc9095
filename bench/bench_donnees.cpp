// Reading speed of the data-file reader: records read from a 25 MB semicolon
// file with quoted fields, in UTF-8, UTF-16LE and Windows ANSI.

#include "TableInputStream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype taille_visee = 25 * 1000 * 1000;

QString texte_donnees() {
    QString texte;
    texte.reserve(taille_visee + 200);
    for (int i = 0; texte.size() < taille_visee; ++i) {
        texte += QStringLiteral("A;12345;%1;9;\"Prix ; spécial\";250;CB;P;4;A;=;nom_%1;"
                                "\"Commentaire \"\"cité\"\" à l'édition\"\r\n")
                     .arg(i);
    }
    return texte;
}

// Writes the file once per encoding and gives its path.
QString fichier(codage_texte codage) {
    const QString chemin = QDir::temp().filePath(
        QStringLiteral("valdorin_bench_%1.csv").arg(static_cast<int>(codage)));
    static QString texte = texte_donnees();
    QByteArray octets;
    if (codage == codage_texte::utf16) {
        QStringEncoder encodeur(QStringConverter::Utf16LE);
        octets = "\xFF\xFE" + QByteArray(encodeur.encode(texte));
    } else if (codage == codage_texte::windows_ansi) {
        QStringEncoder encodeur("windows-1252");
        octets = encodeur.encode(texte);
    } else {
        octets = texte.toUtf8();
    }
    QFile f(chemin);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(octets);
    return chemin;
}

void lecture(benchmark::State& etat, codage_texte codage) {
    const QString chemin = fichier(codage);
    const qint64 taille = QFileInfo(chemin).size();
    std::int64_t enregistrements = 0;
    for (auto _ : etat) {
        TableInputStream lecteur;
        lecteur.Open(chemin, codage, QStringLiteral(";"));
        do {
            QString enregistrement = lecteur.ReadLine();
            benchmark::DoNotOptimize(enregistrement);
            ++enregistrements;
        } while (!lecteur.Eof());
        lecteur.Close();
    }
    etat.SetBytesProcessed(static_cast<std::int64_t>(etat.iterations()) * taille);
    etat.counters["records"] =
        benchmark::Counter(static_cast<double>(enregistrements), benchmark::Counter::kIsRate);
    QFile::remove(chemin);
}

void BM_lecture_utf8(benchmark::State& etat) {
    lecture(etat, codage_texte::utf8);
}
void BM_lecture_utf16le(benchmark::State& etat) {
    lecture(etat, codage_texte::utf16);
}
void BM_lecture_windows(benchmark::State& etat) {
    lecture(etat, codage_texte::windows_ansi);
}

} // namespace

BENCHMARK(BM_lecture_utf8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_lecture_utf16le)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_lecture_windows)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
