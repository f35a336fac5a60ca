#pragma once

#include <QString>
#include <QUrl>

namespace torrenta::gui {

// The five boxes of the comments window, as the user left them.
struct CommentFields {
    QString os;
    QString bugName;
    QString description;
    QString contact;
    QString comments;
};

// Encrypted by default: the contact fields and the comment are the user's own.
inline constexpr char kDefaultCommentServer[] = "https://www.quillmoor.example";
inline constexpr char kCommentPage[] = "/Qmoor/wxsvc/bugreport.asp";

// The maker's web server: the CommentServer setting of Quillmoor/Squallbox
// (the user's, else the system's), else the maker's own host.
QString CommentServer();

// The page on `server` with the five fields in its query, every key present.
// Each value is percent-encoded as UTF-8 so blanks, line breaks, "&", "#" and
// letters beyond ASCII reach the page as typed.
QUrl CommentRequestUrl(const QString& server, const CommentFields& fields);

}  // namespace torrenta::gui
