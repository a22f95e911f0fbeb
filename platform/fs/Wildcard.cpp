#include "fs/Wildcard.h"

namespace vcl::fs {

namespace {

inline QChar fold(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= 'A' && u <= 'Z') ? QChar(u + 32) : c;
    return c.toCaseFolded();
}

} // namespace

// The pattern is first rewritten the way the directory search does it: a
// whole "*.*" means "*"; "*" before a dot only reaches up to the name's last
// dot; every "?" also matches nothing at a dot or at the end of the name; and
// a dot before "?", "*" or the end of the pattern also matches the end of a
// name without a dot. That is what makes "*." pick the names without an
// extension and "name.*" pick "name" itself.
WildcardPattern::WildcardPattern(const QString& pattern)
{
    if (pattern.isEmpty()) {
        m_empty = true;
        m_shape = Shape::Empty;
        return;
    }
    const QString p = pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
    m_tokens.reserve(p.size());
    for (qsizetype i = 0; i < p.size(); ++i) {
        const QChar c = p[i];
        const QChar next = i + 1 < p.size() ? p[i + 1] : QChar();
        if (c == u'*')
            m_tokens.push_back({next == u'.' ? Tok::DosStar : Tok::Star, QChar()});
        else if (c == u'?')
            m_tokens.push_back({Tok::DosQm, QChar()});
        else if (c == u'.' && (next.isNull() || next == u'?' || next == u'*'))
            m_tokens.push_back({Tok::DosDot, QChar()});
        else
            m_tokens.push_back({Tok::Literal, fold(c)});
    }

    if (m_tokens.size() == 1 && m_tokens[0].kind == Tok::Star) {
        m_shape = Shape::Everything;
        return;
    }
    // "*.bmp" and the like: a leading star and plain text. A star before a
    // dot stops at the last dot of the name, but the literal tail holds that
    // dot itself, so the test reduces to comparing the end of the name.
    const bool leadingStar = m_tokens[0].kind == Tok::Star || m_tokens[0].kind == Tok::DosStar;
    bool restLiteral = m_tokens.size() > 1;
    for (size_t i = 1; i < m_tokens.size() && restLiteral; ++i)
        restLiteral = m_tokens[i].kind == Tok::Literal;
    if (leadingStar && restLiteral) {
        m_shape = Shape::Suffix;
        for (size_t i = 1; i < m_tokens.size(); ++i)
            m_suffix.append(m_tokens[i].ch);
        return;
    }
    m_shape = Shape::General;
}

bool WildcardPattern::matches(const QString& name) const
{
    switch (m_shape) {
    case Shape::Empty:
        return false;
    case Shape::Everything:
        return true;
    case Shape::Suffix: {
        const qsizetype n = name.size(), k = m_suffix.size();
        if (n < k)
            return false;
        const QChar* tail = name.constData() + (n - k);
        const QChar* want = m_suffix.constData();
        for (qsizetype i = 0; i < k; ++i)
            if (fold(tail[i]) != want[i])
                return false;
        return true;
    }
    case Shape::General:
        break;
    }
    return matchGeneral(name);
}

// A set-of-positions walk over the pattern: no backtracking, so a pattern
// full of stars costs names x pattern length at worst.
bool WildcardPattern::matchGeneral(const QString& name) const
{
    const size_t m = m_tokens.size();
    const qsizetype n = name.size();
    const qsizetype lastDot = name.lastIndexOf(u'.');
    std::vector<char> cur(m + 1, 0), next(m + 1, 0);
    cur[0] = 1;

    for (qsizetype i = 0;; ++i) {
        const bool atEnd = i == n;
        const QChar ch = atEnd ? QChar() : name[i];
        // Moves that consume nothing; they only ever go forward.
        for (size_t p = 0; p < m; ++p) {
            if (!cur[p])
                continue;
            switch (m_tokens[p].kind) {
            case Tok::Star:
            case Tok::DosStar:
                cur[p + 1] = 1;
                break;
            case Tok::DosDot:
                if (atEnd)
                    cur[p + 1] = 1;
                break;
            case Tok::DosQm:
                if (atEnd || ch == u'.') {
                    size_t q = p;
                    while (q < m && m_tokens[q].kind == Tok::DosQm)
                        ++q;
                    cur[q] = 1;
                }
                break;
            case Tok::Literal:
                break;
            }
        }
        if (atEnd)
            return cur[m] != 0;

        const QChar f = fold(ch);
        bool any = false;
        std::fill(next.begin(), next.end(), 0);
        for (size_t p = 0; p < m; ++p) {
            if (!cur[p])
                continue;
            const Token& t = m_tokens[p];
            switch (t.kind) {
            case Tok::Literal:
                if (t.ch == f)
                    next[p + 1] = any = 1;
                break;
            case Tok::Star:
                next[p] = any = 1;
                break;
            case Tok::DosStar:
                if (lastDot < 0 || i < lastDot)
                    next[p] = any = 1;
                break;
            case Tok::DosQm:
                if (ch != u'.')
                    next[p + 1] = any = 1;
                break;
            case Tok::DosDot:
                if (ch == u'.')
                    next[p + 1] = any = 1;
                break;
            }
        }
        if (!any)
            return false;
        cur.swap(next);
    }
}

FileMask::FileMask(const QString& mask)
{
    const QStringList pieces = mask.split(u';', Qt::KeepEmptyParts);
    m_pieces.reserve(pieces.size());
    for (const QString& piece : pieces)
        m_pieces.emplace_back(piece);
}

int FileMask::matchCount(const QString& name) const
{
    int count = 0;
    for (const WildcardPattern& p : m_pieces)
        count += p.matches(name) ? 1 : 0;
    return count;
}

bool matchesWildcard(const QString& name, const QString& pattern)
{
    return WildcardPattern(pattern).matches(name);
}

} // namespace vcl::fs
