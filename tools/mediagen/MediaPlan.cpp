#include "MediaPlan.h"

#include "PictureMaker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <utility>

namespace {

const QStringList &alphabet()
{
    static const QStringList letters = [] {
        QStringList list;
        for (char c = 'A'; c <= 'Z'; ++c) {
            list.append(QString(QLatin1Char(c)));
            if (c == 'N')
                list.append(QStringLiteral("Ntilde"));
        }
        return list;
    }();
    return letters;
}

const QStringList kCategories = { QStringLiteral("Cuentos"), QStringLiteral("Fabulas"),
    QStringLiteral("Trabalenguas"), QStringLiteral("Poesias") };

// The longest sentence: the program plays its words one by one from
// "sentence1.ogg" up to "sentence9.ogg".
const int kMaxSentenceWords = 9;

// A letter's sound is held long enough for a child to hear what it is
// (espeak-ng says "n" or "l" in a tenth of a second), and so is its name.
const QString kLetterSoundSeconds = QStringLiteral("0.6");
const QString kLetterNameSeconds = QStringLiteral("0.55");

// Word folders are stored without accents or "ñ" (the program restores the
// spelling of known words on screen); text titles are shown as menu entries.
const QRegularExpression kWordFolder(QStringLiteral("^[A-Z][a-z]+$"));
const QRegularExpression kTextFolder(QStringLiteral("^[A-Z][A-Za-z ]+$"));

QString joinNames(const QStringList &names)
{
    if (names.size() <= 1)
        return names.join(QString());
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" y ")
        + names.last();
}

QString fill(QString text, const QHash<QString, QString> &fields)
{
    for (auto it = fields.cbegin(); it != fields.cend(); ++it)
        text.replace(QLatin1Char('{') + it.key() + QLatin1Char('}'), it.value());
    return text;
}

// The spoken words of a sentence, punctuation removed. A word written as
// espeak-ng phonemes ("[[...]]") is kept as it is.
QStringList sentenceWords(const QString &sentence)
{
    QStringList words;
    for (const QString &token :
        sentence.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        const int phonemesEnd = token.indexOf(QLatin1String("]]"));
        if (token.startsWith(QLatin1String("[[")) && phonemesEnd > 2) {
            words.append(token.left(phonemesEnd + 2));
            continue;
        }
        QString word;
        for (const QChar c : token) {
            if (c.isLetterOrNumber())
                word += c;
        }
        if (!word.isEmpty())
            words.append(word);
    }
    return words;
}

// The spelling of a word folder: no accents, and "n" for "ñ".
QString unaccented(const QString &word)
{
    QString plain;
    for (const QChar c : word.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            plain += c;
    }
    return plain;
}

// As the letters activities choose between "la" and "el": by the folder name.
bool feminineFolder(const QString &folder)
{
    return folder.endsWith(QLatin1Char('a')) || folder.endsWith(QLatin1String("ad"));
}

// A word of two syllables or more ending in an unstressed vowel and "s"
// ("niños", "flores") is a plural. The few singular words spelt so
// ("paraguas", "lunes") are refused too: a child hears them as plurals.
bool looksPlural(const QString &word)
{
    static const QString vowels = QStringLiteral("aeiouáéíóúü");
    int syllables = 0;
    for (int i = 0; i < word.size(); ++i) {
        if (vowels.contains(word.at(i)) && (i == 0 || !vowels.contains(word.at(i - 1))))
            ++syllables;
    }
    return syllables >= 2 && word.size() >= 3 && word.endsWith(QLatin1Char('s'))
        && QStringLiteral("aeiou").contains(word.at(word.size() - 2));
}

} // namespace

bool MediaPlan::build(const QString &sourceDir, QString *error)
{
    m_sourceDir = sourceDir;
    m_jobs.clear();
    m_folders.clear();
    m_templates.clear();
    m_otherWords.clear();
    m_sounds.clear();
    m_pictures.clear();
    m_soundOwners.clear();
    return readSettings(error) && readSounds(error) && readClips(error) && readSuggestions(error)
        && readLetters(error) && readLetterSounds(error) && readNumbers(error) && readTexts(error)
        && readInterface(error) && readCatalogue(error);
}

bool MediaPlan::load(SourceFile *file, const QString &relativePath, QString *error) const
{
    return file->load(m_sourceDir + QLatin1Char('/') + relativePath, error);
}

void MediaPlan::add(const QString &output, const QString &kind, const QStringList &params)
{
    m_jobs.append(Job { output, kind, params });
}

bool MediaPlan::requireKeys(const SourceFile &file, const SourceFile::Section &section,
    const QStringList &keys, QString *error) const
{
    for (const QString &key : keys) {
        if (section.value(key).isEmpty()) {
            *error = file.where(section.line, QStringLiteral("\"%1\" is missing").arg(key));
            return false;
        }
    }
    return true;
}

bool MediaPlan::checkEmoji(
    const SourceFile &file, int line, const QString &text, QString *error) const
{
    QString missing;
    if (!PictureMaker::emojiAvailable(text, &missing)) {
        *error = file.where(line,
            QStringLiteral("the emoji font has no \"%1\" (U+%2)")
                .arg(missing)
                .arg(missing.toUcs4().value(0), 4, 16, QLatin1Char('0')));
        return false;
    }
    return true;
}

// A scene is emoji, drawings and "mofli" (the mascot), apart by blanks.
bool MediaPlan::checkScene(
    const SourceFile &file, int line, const QString &scene, QString *error) const
{
    for (const QString &item : scene.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (item == QLatin1String("mofli"))
            continue;
        if (item.startsWith(QLatin1String("draw:"))) {
            if (!PictureMaker::hasDrawing(item.mid(5))) {
                *error = file.where(line, QStringLiteral("no drawing \"%1\"").arg(item));
                return false;
            }
        } else if (!checkEmoji(file, line, item, error)) {
            return false;
        }
    }
    return true;
}

// Two words showing one picture cannot be told apart by a child who looks.
bool MediaPlan::claimPicture(
    const QString &picture, const SourceFile &file, int line, QString *error)
{
    QString key = picture;
    key.remove(QChar(0xfe0f));
    const QString where = file.where(line, QString());
    const auto known = m_pictures.constFind(key);
    if (known != m_pictures.cend()) {
        *error = file.where(line, QStringLiteral("the same picture as %1").arg(known.value()));
        return false;
    }
    m_pictures.insert(key, where.left(where.lastIndexOf(QLatin1Char(':'))));
    return true;
}

bool MediaPlan::claimSound(const SourceFile &file, const SourceFile::Section &word, QString *error)
{
    // A child tells objects apart by ear: no two words share a sound, the
    // same word under a letter and a number apart.
    const QString sound = word.value(QStringLiteral("sound")).simplified();
    const QString owner = m_soundOwners.value(sound);
    if (!owner.isEmpty() && owner != word.name) {
        *error = file.where(word.line,
            QStringLiteral("\"%1\" has the sound of \"%2\" (%3)").arg(word.name, owner, sound));
        return false;
    }
    m_soundOwners.insert(sound, word.name);
    return true;
}

bool MediaPlan::addClip(const QString &output, const QString &value, const SourceFile &file,
    int line, QString *error, const QString &minimum)
{
    if (value.isEmpty()) {
        *error = file.where(line, QStringLiteral("empty clip text"));
        return false;
    }
    if (value.startsWith(QLatin1Char('@'))) {
        static const QRegularExpression form(QStringLiteral("^@([a-z_]+)(?: x([1-9]))?$"));
        const QRegularExpressionMatch match = form.match(value);
        if (!match.hasMatch() || !m_sounds.contains(match.captured(1))) {
            *error = file.where(line, QStringLiteral("unknown sound \"%1\"").arg(value));
            return false;
        }
        const QString times = match.captured(2).isEmpty() ? QStringLiteral("1") : match.captured(2);
        add(output, QStringLiteral("sound"), { m_sounds.value(match.captured(1)), times });
        return true;
    }
    QString text = value;
    QString voice;
    if (value.startsWith(QLatin1Char('%'))) {
        voice = value.section(QLatin1Char(' '), 0, 0).mid(1);
        text = value.section(QLatin1Char(' '), 1).trimmed();
        if (voice.isEmpty() || !m_voices.contains(voice) || text.isEmpty()) {
            *error = file.where(line, QStringLiteral("unknown voice \"%1\"").arg(voice));
            return false;
        }
    }
    QStringList params = m_voices.value(voice);
    params.append(text);
    if (!minimum.isEmpty())
        params.append(minimum);
    add(output, QStringLiteral("speech"), params);
    return true;
}

namespace {

// A suggestion file: one "sugerencia" per (activity title, text), in order.
QString suggestionsXml(const QList<QPair<QString, QString>> &suggestions)
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(1);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("Sugerencias"));
    for (const auto &suggestion : suggestions) {
        writer.writeStartElement(QStringLiteral("sugerencia"));
        writer.writeAttribute(QStringLiteral("activity"), suggestion.first);
        writer.writeCharacters(suggestion.second);
        writer.writeEndElement();
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    return QString::fromUtf8(xml);
}

} // namespace

bool MediaPlan::addSuggestions(const QString &output, const QString &kind, const QString &key,
    const QHash<QString, QString> &fields, QString *error)
{
    static const QRegularExpression unfilled(QStringLiteral("\\{[a-z]+\\}"));
    QStringList titles;
    for (const Template &t : std::as_const(m_templates)) {
        if (t.kind == kind && !titles.contains(t.title))
            titles.append(t.title);
    }
    QList<QPair<QString, QString>> suggestions;
    for (const QString &title : std::as_const(titles)) {
        const Template *chosen = nullptr;
        for (const Template &t : std::as_const(m_templates)) {
            if (t.kind != kind || t.title != title)
                continue;
            if (t.only.contains(key)) {
                chosen = &t;
                break;
            }
            if (t.only.isEmpty() && !chosen)
                chosen = &t;
        }
        if (!chosen)
            continue;
        const QString text = fill(chosen->text, fields);
        const QRegularExpressionMatch left = unfilled.match(text);
        if (left.hasMatch()) {
            *error = QStringLiteral("%1:%2: \"%3\" has no value for %4")
                         .arg(m_suggestionsPath)
                         .arg(chosen->line)
                         .arg(left.captured(0), key);
            return false;
        }
        suggestions.append({ title, text });
    }
    add(output, QStringLiteral("file"), { suggestionsXml(suggestions) });
    return true;
}

bool MediaPlan::readSettings(QString *error)
{
    SourceFile file;
    if (!load(&file, QStringLiteral("settings.txt"), error))
        return false;
    if (!requireKeys(file, file.header(),
            { QStringLiteral("language"), QStringLiteral("voice"), QStringLiteral("speed"),
                QStringLiteral("pitch") },
            error))
        return false;
    m_languageRoot
        = QStringLiteral("media/languages/") + file.header().value(QStringLiteral("language"));
    m_voices.clear();
    const QString voice = file.header().value(QStringLiteral("voice"));
    const auto voiceOf = [](const SourceFile::Section &section, const QString &name) {
        return QStringList { name, section.value(QStringLiteral("speed")),
            section.value(QStringLiteral("pitch")) };
    };
    m_voices.insert(QString(), voiceOf(file.header(), voice));
    for (const SourceFile::Section &section : file.sections()) {
        if (!requireKeys(file, section,
                { QStringLiteral("variant"), QStringLiteral("speed"), QStringLiteral("pitch") },
                error))
            return false;
        m_voices.insert(section.name,
            voiceOf(section, voice + QLatin1Char('+') + section.value(QStringLiteral("variant"))));
    }
    return true;
}

bool MediaPlan::readSounds(QString *error)
{
    SourceFile file;
    if (!load(&file, QStringLiteral("sounds.txt"), error))
        return false;
    for (const SourceFile::Entry &entry : file.header().entries)
        m_sounds.insert(entry.key, entry.value);
    return true;
}

bool MediaPlan::readClips(QString *error)
{
    SourceFile file;
    if (!load(&file, QStringLiteral("clips.txt"), error))
        return false;
    const QHash<QString, QString> folders = {
        { QStringLiteral("instructions"), QStringLiteral("media/system/audio/instructions/") },
        { QStringLiteral("menus"), QStringLiteral("media/system/audio/menus/") },
        { QStringLiteral("letters"), QStringLiteral("media/system/audio/letters/") },
        { QStringLiteral("audio"), QStringLiteral("media/system/audio/") },
    };
    for (const SourceFile::Section &section : file.sections()) {
        if (!folders.contains(section.name)) {
            *error = file.where(section.line, QStringLiteral("unknown clip folder"));
            return false;
        }
        for (const SourceFile::Entry &entry : section.entries) {
            const QString output = folders.value(section.name) + entry.key + QStringLiteral(".ogg");
            if (!addClip(output, entry.value, file, entry.line, error))
                return false;
        }
    }
    return true;
}

bool MediaPlan::readSuggestions(QString *error)
{
    SourceFile file;
    if (!load(&file, QStringLiteral("suggestions.txt"), error))
        return false;
    m_suggestionsPath = file.path();
    for (const SourceFile::Entry &entry : file.header().entries) {
        const QString letter
            = entry.key == QStringLiteral("Ñ") ? QStringLiteral("Ntilde") : entry.key;
        if (!alphabet().contains(letter)) {
            *error = file.where(entry.line, QStringLiteral("\"%1\" is no letter").arg(entry.key));
            return false;
        }
        m_otherWords.insert(letter, entry.value);
    }
    for (const SourceFile::Section &section : file.sections()) {
        if (!requireKeys(file, section, { QStringLiteral("for"), QStringLiteral("text") }, error))
            return false;
        Template t { section.name, section.value(QStringLiteral("for")),
            section.value(QStringLiteral("text")), {}, section.line };
        if (t.kind != QLatin1String("letters") && t.kind != QLatin1String("numbers")) {
            // Written for some folders only: letters ("A E I O U") or digits.
            QString kind;
            for (const QString &token : t.kind.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const QString name
                    = token == QStringLiteral("Ñ") ? QStringLiteral("Ntilde") : token;
                const QString tokenKind = alphabet().contains(name) ? QStringLiteral("letters")
                    : (token.size() == 1 && token.at(0).isDigit())  ? QStringLiteral("numbers")
                                                                    : QString();
                if (tokenKind.isEmpty() || (!kind.isEmpty() && kind != tokenKind)) {
                    *error = file.where(section.line,
                        QStringLiteral("\"for\" is letters, numbers, "
                                       "or capital letters or digits"));
                    return false;
                }
                kind = tokenKind;
                t.only.append(name);
            }
            t.kind = kind;
        }
        m_templates.append(t);
    }
    return true;
}

bool MediaPlan::checkWord(const SourceFile &file, const SourceFile::Section &word,
    const QString &letter, QString *error) const
{
    const QString name = word.value(QStringLiteral("name"));
    const bool phonemes = name.startsWith(QLatin1String("[["));
    // A name given as phonemes is written as its folder.
    const QString written = (phonemes ? word.name : name).toLower();
    const QString shown = letter == QLatin1String("Ntilde") ? QStringLiteral("Ñ") : letter;
    // "¿Cómo empieza?" asks for the first letter of the word the child hears.
    if (written.at(0).toUpper() != shown.at(0)) {
        *error = file.where(
            word.line, QStringLiteral("\"%1\" does not begin with %2").arg(written, shown));
        return false;
    }
    // "Objetos escondidos" asks for one object, with "la" or "el" chosen by
    // the folder name.
    const QString article = word.value(QStringLiteral("article"));
    const QString first = written.section(QLatin1Char(' '), 0, 0);
    if (article == QLatin1String("los") || article == QLatin1String("las") || looksPlural(first)) {
        *error = file.where(word.line,
            QStringLiteral("a plural object word (\"%1 %2\"): one object is asked for")
                .arg(article, written));
        return false;
    }
    if (article != QLatin1String("el") && article != QLatin1String("la")) {
        *error = file.where(word.line, QStringLiteral("\"article\" is \"el\" or \"la\""));
        return false;
    }
    const QString said = feminineFolder(word.name) ? QStringLiteral("la") : QStringLiteral("el");
    if (article != said) {
        *error = file.where(word.line,
            QStringLiteral("\"%1 %2\" would be said \"%3 %2\": the activity says \"la\" "
                           "only before a folder ending in \"a\" or \"ad\"")
                .arg(article, written, said));
        return false;
    }
    // The program shows the folder name, with its accents restored.
    if (!phonemes) {
        QString folder = unaccented(written);
        folder[0] = folder.at(0).toUpper();
        if (folder != word.name) {
            *error = file.where(
                word.line, QStringLiteral("the folder of \"%1\" is \"%2\"").arg(written, folder));
            return false;
        }
    }
    return true;
}

bool MediaPlan::readLetters(QString *error)
{
    const QString letterClips = QStringLiteral("media/system/audio/letters/");
    for (const QString &letter : alphabet()) {
        SourceFile file;
        if (!load(&file, QStringLiteral("letters/%1.txt").arg(letter), error))
            return false;
        if (!requireKeys(file, file.header(),
                { QStringLiteral("letter_name"), QStringLiteral("letter_sound") }, error))
            return false;
        const QString letterName = file.header().value(QStringLiteral("letter_name"));
        const QString letterSound = file.header().value(QStringLiteral("letter_sound"));
        if (!addClip(letterClips + letter + QStringLiteral(".ogg"), letterSound, file, 1, error,
                kLetterSoundSeconds))
            return false;

        const QString folder = m_languageRoot + QStringLiteral("/Letras/") + letter;
        const QList<SourceFile::Section> words = file.sections();
        if (words.size() < 2) {
            *error = file.where(1, QStringLiteral("a letter needs at least two words"));
            return false;
        }
        QStringList names;
        for (const SourceFile::Section &word : words) {
            if (!kWordFolder.match(word.name).hasMatch() || word.name.at(0) != letter.at(0)) {
                *error = file.where(word.line,
                    QStringLiteral("a word folder is the unaccented word, "
                                   "capitalised, beginning with its letter"));
                return false;
            }
            if (!requireKeys(file, word,
                    { QStringLiteral("image"), QStringLiteral("sound"), QStringLiteral("name"),
                        QStringLiteral("article"), QStringLiteral("sentence") },
                    error)
                || !checkWord(file, word, letter, error))
                return false;
            const QString base = folder + QLatin1Char('/') + word.name + QLatin1Char('/');
            const QString image = word.value(QStringLiteral("image"));
            if (image.startsWith(QLatin1String("draw:"))) {
                if (!PictureMaker::hasDrawing(image.mid(5))) {
                    *error = file.where(word.line, QStringLiteral("no drawing \"%1\"").arg(image));
                    return false;
                }
            } else if (!checkEmoji(file, word.line, image, error)) {
                return false;
            }
            if (!claimPicture(QStringLiteral("object ") + image, file, word.line, error))
                return false;
            add(base + QStringLiteral("image.jpg"), QStringLiteral("picture"),
                { QStringLiteral("object"), image });

            const QString sentence = word.value(QStringLiteral("sentence"));
            const QStringList spoken = sentenceWords(sentence);
            if (spoken.isEmpty() || spoken.size() > kMaxSentenceWords) {
                *error = file.where(word.line,
                    QStringLiteral("a sentence has 1 to %1 words").arg(kMaxSentenceWords));
                return false;
            }
            const QString ownSound = word.value(QStringLiteral("letter_sound"));
            const QString ownName = word.value(QStringLiteral("letter_name"));
            if (!claimSound(file, word, error)
                || !addClip(base + QStringLiteral("sound.ogg"), word.value(QStringLiteral("sound")),
                    file, word.line, error)
                || !addClip(base + QStringLiteral("name.ogg"), word.value(QStringLiteral("name")),
                    file, word.line, error)
                || !addClip(base + QStringLiteral("letter_sound.ogg"),
                    ownSound.isEmpty() ? letterSound : ownSound, file, word.line, error,
                    kLetterSoundSeconds)
                || !addClip(base + QStringLiteral("letter_name.ogg"),
                    ownName.isEmpty() ? letterName : ownName, file, word.line, error,
                    kLetterNameSeconds)
                || !addClip(
                    base + QStringLiteral("sentence.ogg"), sentence, file, word.line, error))
                return false;
            for (int i = 0; i < spoken.size(); ++i) {
                if (!addClip(base + QStringLiteral("sentence%1.ogg").arg(i + 1), spoken.at(i), file,
                        word.line, error))
                    return false;
            }
            // Suggestions are read, not spoken: a name given as phonemes is
            // written as its folder name instead.
            const QString name = word.value(QStringLiteral("name"));
            names.append(name.startsWith(QLatin1String("[[")) ? word.name.toLower() : name);
        }
        QHash<QString, QString> fields
            = { { QStringLiteral("letra"),
                    letter == QLatin1String("Ntilde") ? QStringLiteral("Ñ") : letter },
                  { QStringLiteral("palabras"), joinNames(names) } };
        if (m_otherWords.contains(letter))
            fields.insert(QStringLiteral("otras"), m_otherWords.value(letter));
        if (!addSuggestions(folder + QStringLiteral("/sugerencias.txt"), QStringLiteral("letters"),
                letter, fields, error))
            return false;
    }
    return true;
}

// Copied beside the letter folders as the program reads it, once every
// letter named is known: a misspelt letter would silently stand alone.
bool MediaPlan::readLetterSounds(QString *error)
{
    SourceFile file;
    if (!load(&file, QStringLiteral("letter-sounds.txt"), error))
        return false;
    QString text = QStringLiteral(
        "# Letras que suenan igual (\"igual\") y letras sin sonido (\"muda\").\n"
        "# En \"¿Cómo suena?\" y \"¿Cómo empieza?\" una letra vale por otra de su grupo,\n"
        "# y una letra muda no se pregunta.\n");
    for (const SourceFile::Entry &entry : file.header().entries) {
        if (entry.key != QLatin1String("igual") && entry.key != QLatin1String("muda")) {
            *error = file.where(entry.line, QStringLiteral("\"igual\" or \"muda\" expected"));
            return false;
        }
        const QStringList letters = entry.value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString &letter : letters) {
            const QString name = letter == QStringLiteral("Ñ") ? QStringLiteral("Ntilde") : letter;
            if (!alphabet().contains(name)) {
                *error = file.where(
                    entry.line, QStringLiteral("\"%1\" is no capital letter").arg(letter));
                return false;
            }
        }
        if (letters.isEmpty() || (entry.key == QLatin1String("igual") && letters.size() < 2)) {
            *error = file.where(entry.line, QStringLiteral("too few letters"));
            return false;
        }
        text += entry.key + QStringLiteral(" = ") + letters.join(QLatin1Char(' '))
            + QLatin1Char('\n');
    }
    add(m_languageRoot + QStringLiteral("/Letras/sonidos.txt"), QStringLiteral("file"), { text });
    return true;
}

bool MediaPlan::readNumbers(QString *error)
{
    static const QRegularExpression countForm(QStringLiteral("^(\\S+) x([0-9])$"));
    for (int digit = 0; digit <= 9; ++digit) {
        const QString number = QString::number(digit);
        SourceFile file;
        if (!load(&file, QStringLiteral("numbers/%1.txt").arg(number), error))
            return false;
        if (!requireKeys(file, file.header(), { QStringLiteral("letter_name") }, error))
            return false;
        const QString numberName = file.header().value(QStringLiteral("letter_name"));
        const QString folder = m_languageRoot + QStringLiteral("/Numeros/") + number;
        const QList<SourceFile::Section> words = file.sections();
        if (words.isEmpty()) {
            *error = file.where(1, QStringLiteral("a number needs at least one word"));
            return false;
        }
        for (const SourceFile::Section &word : words) {
            if (!kWordFolder.match(word.name).hasMatch()) {
                *error
                    = file.where(word.line, QStringLiteral("a word folder is an unaccented word"));
                return false;
            }
            if (!requireKeys(file, word,
                    { QStringLiteral("image"), QStringLiteral("sound"), QStringLiteral("name") },
                    error))
                return false;
            // The picture must show as many objects as the number says.
            const QRegularExpressionMatch count
                = countForm.match(word.value(QStringLiteral("image")));
            if (!count.hasMatch() || count.captured(2) != number) {
                *error = file.where(
                    word.line, QStringLiteral("the picture is \"<emoji> x%1\"").arg(number));
                return false;
            }
            if (!checkEmoji(file, word.line, count.captured(1), error)
                || !claimPicture(QStringLiteral("count ") + word.value(QStringLiteral("image")),
                    file, word.line, error))
                return false;
            const QString base = folder + QLatin1Char('/') + word.name + QLatin1Char('/');
            add(base + QStringLiteral("image.jpg"), QStringLiteral("picture"),
                { QStringLiteral("count"), count.captured(1), number });
            if (!claimSound(file, word, error)
                || !addClip(base + QStringLiteral("sound.ogg"), word.value(QStringLiteral("sound")),
                    file, word.line, error)
                || !addClip(base + QStringLiteral("name.ogg"), word.value(QStringLiteral("name")),
                    file, word.line, error)
                || !addClip(
                    base + QStringLiteral("letter_name.ogg"), numberName, file, word.line, error)
                || !addClip(
                    base + QStringLiteral("letter_sound.ogg"), numberName, file, word.line, error))
                return false;
        }
        if (!addSuggestions(folder + QStringLiteral("/sugerencias.txt"), QStringLiteral("numbers"),
                number,
                { { QStringLiteral("letra"), number }, { QStringLiteral("nombre"), numberName } },
                error))
            return false;
    }
    return true;
}

bool MediaPlan::readTexts(QString *error)
{
    for (const QString &category : kCategories) {
        const QDir dir(m_sourceDir + QStringLiteral("/texts/") + category);
        const QStringList names
            = dir.entryList({ QStringLiteral("*.txt") }, QDir::Files, QDir::Name);
        if (names.isEmpty()) {
            *error = dir.path() + QStringLiteral(": every category needs at least one text");
            return false;
        }
        for (const QString &name : names) {
            const QString title = QFileInfo(name).completeBaseName();
            SourceFile file;
            if (!load(&file, QStringLiteral("texts/%1/%2").arg(category, name), error))
                return false;
            if (!kTextFolder.match(title).hasMatch()) {
                *error = file.where(1, QStringLiteral("a text title is plain letters and blanks"));
                return false;
            }
            if (!requireKeys(file, file.header(),
                    { QStringLiteral("menu"), QStringLiteral("suggestion") }, error))
                return false;
            const QString base = m_languageRoot + QStringLiteral("/Textos/") + category
                + QLatin1Char('/') + title + QLatin1Char('/');
            if (!addClip(base + QStringLiteral("menu.ogg"),
                    file.header().value(QStringLiteral("menu")), file, 1, error))
                return false;
            const QList<SourceFile::Section> frames = file.sections();
            if (frames.size() < 3 || frames.size() > 6) {
                *error = file.where(1, QStringLiteral("a text has three to six frames"));
                return false;
            }
            for (int i = 0; i < frames.size(); ++i) {
                const SourceFile::Section &frame = frames.at(i);
                const QString number = QString::number(i + 1);
                if (frame.name != number) {
                    *error
                        = file.where(frame.line, QStringLiteral("expected frame [%1]").arg(number));
                    return false;
                }
                if (!requireKeys(
                        file, frame, { QStringLiteral("image"), QStringLiteral("text") }, error)
                    || !checkScene(file, frame.line, frame.value(QStringLiteral("image")), error))
                    return false;
                add(base + QStringLiteral("image%1.jpg").arg(number), QStringLiteral("picture"),
                    { QStringLiteral("frame"), frame.value(QStringLiteral("image")),
                        frame.value(QStringLiteral("background")),
                        frame.value(QStringLiteral("text")) });
                if (!addClip(base + QStringLiteral("audio%1.ogg").arg(number),
                        frame.value(QStringLiteral("text")), file, frame.line, error))
                    return false;
            }
            add(base + QStringLiteral("sugerencias.txt"), QStringLiteral("file"),
                { suggestionsXml({ { QStringLiteral("textos"),
                    file.header().value(QStringLiteral("suggestion")) } }) });
        }
    }
    return true;
}

bool MediaPlan::readInterface(QString *error)
{
    SourceFile file;
    if (!load(&file, QStringLiteral("ui.txt"), error))
        return false;
    SourceFile::Section credits;
    SourceFile::Section intro;
    for (const SourceFile::Section &section : file.sections()) {
        if (section.name == QLatin1String("credits"))
            credits = section;
        else if (section.name == QLatin1String("intro"))
            intro = section;
    }
    if (credits.entries.isEmpty() || intro.entries.isEmpty()) {
        *error = file.where(1, QStringLiteral("[credits] and [intro] are needed"));
        return false;
    }
    if (!requireKeys(file, intro, { QStringLiteral("title"), QStringLiteral("subtitle") }, error))
        return false;
    const QString ui = QStringLiteral("media/system/ui/");
    QStringList lines = { QStringLiteral("credits") };
    for (const SourceFile::Entry &entry : credits.entries)
        lines.append(entry.value);
    add(ui + QStringLiteral("credits.jpg"), QStringLiteral("picture"), lines);
    for (int i = 1; i <= 4; ++i) {
        add(ui + QStringLiteral("mofli%1.jpg").arg(i), QStringLiteral("picture"),
            { QStringLiteral("mascot"), QString::number(i) });
    }
    for (int dot = 1; dot <= 6; ++dot) {
        add(ui + QStringLiteral("braille/bra%1.jpg").arg(dot), QStringLiteral("picture"),
            { QStringLiteral("dot"), QString::number(dot), QStringLiteral("0") });
        add(ui + QStringLiteral("braille/bra%1b.jpg").arg(dot), QStringLiteral("picture"),
            { QStringLiteral("dot"), QString::number(dot), QStringLiteral("1") });
    }
    for (int key = 1; key <= 7; ++key) {
        add(ui + QStringLiteral("braille/per%1.jpg").arg(key), QStringLiteral("picture"),
            { QStringLiteral("key"), QString::number(key), QStringLiteral("0") });
        add(ui + QStringLiteral("braille/per%1b.jpg").arg(key), QStringLiteral("picture"),
            { QStringLiteral("key"), QString::number(key), QStringLiteral("1") });
    }
    add(ui + QStringLiteral("int.mng"), QStringLiteral("animation"),
        { QStringLiteral("intro"), intro.value(QStringLiteral("title")),
            intro.value(QStringLiteral("subtitle")) });
    add(ui + QStringLiteral("mof.mng"), QStringLiteral("animation"), { QStringLiteral("mascot") });
    // Where the side panel saves the activity suggestions.
    m_folders.append(QStringLiteral("media/system/text"));
    return true;
}

bool MediaPlan::readCatalogue(QString *error)
{
    const QString path = m_sourceDir + QStringLiteral("/activities.xml");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = path + QStringLiteral(": cannot be read");
        return false;
    }
    const QByteArray content = file.readAll();
    QXmlStreamReader reader(content);
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError()) {
        *error = QStringLiteral("%1:%2: %3")
                     .arg(path)
                     .arg(reader.lineNumber())
                     .arg(reader.errorString());
        return false;
    }
    add(QStringLiteral("data/activities.xml"), QStringLiteral("file"),
        { QString::fromUtf8(content) });
    return true;
}
