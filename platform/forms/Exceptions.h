#pragma once
// Errors raised by the platform layer. Each carries the exact text the user
// sees; the application's error report adds the final full stop when needed.
#include <QString>
#include <exception>

namespace vcl {

class Exception : public std::exception {
public:
    explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& Message() const { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// The silent abort: stops a handler and shows nothing.
class EAbort : public Exception {
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
};

class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
    static EInvalidGraphic unknownExtension(const QString& ext)
    {
        return EInvalidGraphic(QStringLiteral("Extension de fichier image inconnue (.%1)").arg(ext));
    }
    static EInvalidGraphic badBitmap() { return EInvalidGraphic(QStringLiteral("Image bitmap incorrecte")); }
    static EInvalidGraphic badIcon() { return EInvalidGraphic(QString::fromUtf8("Image icône incorrecte")); }
    static EInvalidGraphic badMetafile() { return EInvalidGraphic(QStringLiteral("MetaFichier incorrect")); }
};

class EFOpenError : public Exception {
public:
    explicit EFOpenError(const QString& path)
        : Exception(QStringLiteral("Impossible d'ouvrir le fichier %1").arg(path)) {}
};

class EReadError : public Exception {
public:
    EReadError() : Exception(QStringLiteral("Erreur de lecture du flux")) {}
};

// The system could not make a bitmap: its error code and text.
class EOSError : public Exception {
public:
    EOSError(int code, const QString& text)
        : Exception(QString::fromUtf8("Erreur système.  Code : %1.\r\n%2").arg(code).arg(text)), m_code(code) {}
    int ErrorCode() const { return m_code; }
    // The code and text reported when a picture needs more memory than can be had.
    static EOSError notEnoughMemory()
    {
        return EOSError(8, QString::fromUtf8("Espace mémoire insuffisant pour traiter cette commande."));
    }

private:
    int m_code;
};

class EOutOfResources : public Exception {
public:
    EOutOfResources() : Exception(QString::fromUtf8("Ressources système insuffisantes")) {}
    using Exception::Exception;
};

class EInvalidFileName : public Exception {
public:
    explicit EInvalidFileName(const QString& typed)
        : Exception(QStringLiteral("Nom de fichier incorrect - %1").arg(typed)) {}
};

} // namespace vcl
