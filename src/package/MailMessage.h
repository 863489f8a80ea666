// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rostrix {

// Text sub-types a message without attachments can declare.
enum TSubType { mtPlain, mtEnriched, mtSgml, mtTabSeperated, mtHtml };
// How attachments are encoded: base64 in MIME parts.
enum TEncodeType { uuMime };

// One message as the mail client sends it. Every text is bytes, sent as they stand.
struct TMailMessage {
    std::string FromAddress;
    std::string FromName;
    std::vector<std::string> ToAddress;  // one recipient per entry
    std::vector<std::string> ToCarbonCopy;
    std::vector<std::string> ToBlindCarbonCopy;
    std::vector<std::string> Body;         // the message text, one line per entry
    std::vector<std::string> Attachments;  // file paths
    std::string Subject;
    std::string LocalProgram;
    std::string Date;
    std::string ReplyTo;
    std::string MessageID;  // "<unique@host>", only in the submission exchange
};

// The code of a reply line: its leading decimal digits (at most ten), 0 when it has none.
long long replyCode(std::string_view line);
// The line without its trailing CR and LF, as an error shows it.
std::string withoutLineEnd(std::string_view line);
// The address of a recipient entry: between the first "<" and the next ">"; else after the
// first ":" up to the next ":"; else the whole entry.
std::string recipientAddress(std::string_view entry);
// The lines of a text: CR LF, LF and a lone CR end a line; a line end at the very end
// starts no further line, and an empty text has none.
std::vector<std::string> textLines(std::string_view text);
// True when text holds a CR or a LF.
bool hasLineBreak(std::string_view text);

// A fresh boundary: twenty "=", "54535", six letters drawn from "a" to "y", "====".
// letter(n) returns a number from 0 to n - 1.
std::string makeBoundary(const std::function<int(int n)>& letter);

// The header lines, in order, without line ends. boundary is empty for a message without
// attachments. CR and LF inside a value become blanks, so no value can add a line.
std::vector<std::string> mailHeaderLines(const TMailMessage& message, TSubType subType,
                                         const std::string& charset, const std::string& boundary);
// The header lines each with CR LF, then the empty line that ends the header and the
// empty first line of the body.
std::string headerBlock(const std::vector<std::string>& lines);

// Appends a message line with CR LF; a line starting with "." gets a second one in front.
// A CR, LF or CR LF inside the line ends a line too, so no text can end the data early.
void appendMessageLine(std::string& out, std::string_view line);

// Base64 of data in lines of 60 characters (45 bytes each) with CR LF; the last line is
// padded with "=" to a multiple of four; empty data gives nothing. data must hold whole
// 45-byte lines unless it is the end of the file.
void appendBase64Lines(std::string& out, std::string_view data);
// How many bytes appendBase64Lines adds for size bytes of input.
std::size_t base64LinesSize(std::size_t size);

// A date as mail headers carry it, in local time with its offset from UTC:
// "Mon, 07 Dec 2026 15:04:05 +0100". English names whatever the locale.
std::string mailDate(std::time_t when);
// A fresh Message-ID: "<" random letters and digits "@" host ">"; letter(n) as for
// makeBoundary.
std::string makeMessageId(const std::string& host, const std::function<int(int n)>& letter);

// The opening of the text part of a multipart message.
std::string textPartHeader(const std::string& boundary, const std::string& charset);
// The opening of an attachment's part, up to the encoded contents.
std::string attachmentPartHeader(const std::string& boundary, const std::string& path);
// The line that ends a multipart message.
std::string closingBoundary(const std::string& boundary);

}  // namespace rostrix
