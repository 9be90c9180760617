#include "components/downloader/GrabRules.h"

#include "platform/Files.h"

#include <QDir>
#include <gumbo.h>

bool ShouldStore(TclGrabOptions options, long status, const QString& contentType) {
    if (status >= 400 || status <= 0)
        return false;
    if (options & gaGrabAll)
        return true;
    const QString type = contentType.toLower();
    return type.contains(QLatin1String("html")) ||
           ((options & gaGrabImages) && type.contains(QLatin1String("image"))) ||
           ((options & gaGrabData) && type.contains(QLatin1String("application")));
}

QString LocalFileFor(const QString& folder, const QString& url) {
    // Without a target folder nothing is stored (it would land in the current folder).
    if (folder.trimmed().isEmpty())
        return {};
    const QUrl u(url);
    // Decoded, so that "%2e%2e", "%5c" and "%00" are seen for what they are and dropped.
    QString path = QUrl::fromPercentEncoding(u.path(QUrl::FullyEncoded).toUtf8());
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\')))
        path += QLatin1String("index.htm");
    QString relative = SafeRelativePath(path);
    if (relative.isEmpty())
        relative = QStringLiteral("index.htm");
    const QString file = QDir(folder).filePath(relative);
    return IsInsideFolder(folder, file) && file != QDir(folder).path() ? file : QString();
}

namespace {
// Walks the tree without recursion, so a deeply nested page cannot exhaust the stack.
void collect(const GumboNode* root, QList<QString>& out) {
    QList<const GumboNode*> stack{root};
    while (!stack.isEmpty()) {
        const GumboNode* node = stack.takeLast();
        if (node->type != GUMBO_NODE_ELEMENT)
            continue;
        const GumboElement& e = node->v.element;
        const char* attr = e.tag == GUMBO_TAG_A ? "href" : e.tag == GUMBO_TAG_IMG ? "src" : nullptr;
        if (attr)
            if (const GumboAttribute* a = gumbo_get_attribute(&e.attributes, attr))
                out.append(QString::fromUtf8(a->value));
        for (unsigned i = e.children.length; i > 0; --i)
            stack.append(static_cast<const GumboNode*>(e.children.data[i - 1]));
    }
}
} // namespace

QList<QString> ExtractLinks(const QByteArray& html) {
    QList<QString> out;
    // Parse errors are not recorded: each record copies the stack of open elements, which
    // on deeply nested markup grows without bound.
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    const qsizetype size = qMin(html.size(), MaxScannedHtml);
    GumboOutput* output = gumbo_parse_with_options(&options, html.constData(), size_t(size));
    if (!output)
        return out;
    collect(output->root, out);
    gumbo_destroy_output(&options, output);
    return out;
}

namespace {
bool onRootHost(const QUrl& url, const QString& rootHost) {
    const QString scheme = url.scheme().toLower();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !rootHost.isEmpty() && url.host().compare(rootHost, Qt::CaseInsensitive) == 0;
}
} // namespace

bool FollowLink(const QString& linkText, const QUrl& resolved, const QString& rootHost,
                int parentLevel, int maxNestLevel) {
    if (linkText.trimmed().isEmpty() || linkText.contains(QLatin1Char('#')))
        return false;
    const int level = parentLevel + 1;
    if (maxNestLevel != 0 && level >= maxNestLevel)
        return false;
    return resolved.isValid() && onRootHost(resolved, rootHost);
}

bool FollowRedirect(const QUrl& target, const QString& rootHost) {
    return target.isValid() && onRootHost(target, rootHost);
}
