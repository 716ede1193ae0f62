// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ScreenshotCategory.h"

namespace {

struct CategoryData
{
    QString raw;
    QString folderName;
    QStringList keywords;
    QStringList hints;
};

const std::array<CategoryData, 6> &table()
{
    static const std::array<CategoryData, 6> data{{
        {QStringLiteral("receipts"),
         QStringLiteral("Receipts & Invoices"),
         {"invoice",  "invoices", "receipt",     "receipts", "billing",  "payment",    "payments", "paid",
          "order",    "orders",   "stripe",      "total",    "subtotal", "amount due", "tax",      "refund",
          "checkout", "purchase", "transaction", "paypal",   "bill to",  "vat"},
         {"stripe", "quickbooks", "xero", "gnucash", "kmymoney", "homebank"}},
        {QStringLiteral("code"),
         QStringLiteral("Code & Terminal"),
         {"func",   "function", "class",    "struct",    "import",      "return",    "const", "let",
          "var",    "def",      "error",    "exception", "stack trace", "traceback", "git",   "commit",
          "branch", "merge",    "terminal", "npm",       "swift",       "python",    "json",  "log",
          "debug",  "build",    "compile",  "xcode",     "localhost",   "sudo"},
         {"terminal",       "warp",     "ghostty",       "vscode",   "visual studio code",
          "cursor",         "zed",      "sublime",       "intellij", "pycharm",
          "github desktop", "console",  "dev.zed",       "konsole",  "kitty",
          "alacritty",      "wezterm",  "xterm",         "tilix",    "terminator",
          "kate",           "kdevelop", "gnome-builder", "emacs",    "vim",
          "code-oss",       "codium",   "qtcreator"}},
        {QStringLiteral("design"),
         QStringLiteral("UI & Design"),
         {"figma",       "sketch",     "design", "component", "components", "layout",   "color",
          "colors",      "typography", "font",   "mockup",    "prototype",  "frame",    "settings",
          "preferences", "button",     "icon",   "padding",   "spacing",    "artboard", "palette"},
         {"figma", "affinity", "photoshop", "illustrator", "framer", "system settings", "gimp", "inkscape",
          "krita", "penpot", "darktable", "gnome-control-center", "org.gnome.settings", "systemsettings"}},
        {QStringLiteral("chats"),
         QStringLiteral("Chats & Docs"),
         {"slack", "message", "messages", "reply",   "replied", "thread", "channel",
          "chat",  "email",   "inbox",    "sent",    "subject", "notion", "document",
          "doc",   "docs",    "notes",    "meeting", "wrote",   "mention"},
         {"slack",   "messages", "mail",   "outlook", "discord",     "telegram",    "whatsapp",  "signal",
          "notion",  "obsidian", "notes",  "teams",   "zoom",        "thunderbird", "evolution", "geary",
          "element", "fractal",  "okular", "evince",  "libreoffice", "onlyoffice",  "hexchat",   "papers"}},
        {QStringLiteral("web"),
         QStringLiteral("Web"),
         {"https", "http", "www", "search", "results", "article", "blog", "dashboard", "analytics", "posted",
          "followers", "likes", "retweet", "comments", "subscribe", "sign in", "cookies", "browse", "news"},
         {"chrome", "firefox", "edge", "brave", "opera", "vivaldi", "chromium", "epiphany", "falkon",
          "librewolf", "qutebrowser", "konqueror"}},
        {QStringLiteral("other"), QStringLiteral("Other"), {}, {}},
    }};
    return data;
}

const CategoryData &dataFor(ScreenshotCategory category)
{
    return table()[static_cast<std::size_t>(category)];
}

} // namespace

QString rawValue(ScreenshotCategory category)
{
    return dataFor(category).raw;
}

std::optional<ScreenshotCategory> categoryFromRawValue(QStringView raw)
{
    for (auto category : allScreenshotCategories) {
        if (dataFor(category).raw == raw)
            return category;
    }
    return std::nullopt;
}

QString defaultFolderName(ScreenshotCategory category)
{
    return dataFor(category).folderName;
}

const QStringList &defaultKeywords(ScreenshotCategory category)
{
    return dataFor(category).keywords;
}

const QStringList &appHints(ScreenshotCategory category)
{
    return dataFor(category).hints;
}
