// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "net/SocketClient.h"
#include "package/MailMessage.h"
#include "package/MailServer.h"
#include "package/SmtpReply.h"

namespace rostrix {

// Sends one message at a time through an outgoing mail server, the message with MIME
// headers and base64 attachments. Two exchanges: the classic one in clear (HELO with the
// user id, no login), and the submission exchange providers take mail in by (EHLO,
// encryption by STARTTLS or from the first byte, a login). Runs on the user-interface
// thread; every wait calls the socket's pump, so windows stay live and the events below
// fire while a call is in progress. Failures are Errors with their text.
class TSmtpClient {
public:
    // Attachments are read in chunks of this size: whole 45-byte lines, so each chunk
    // encodes to whole 60-character lines.
    static constexpr std::size_t kReadChunk = 45 * 4096;
    // The body goes to the socket in pieces no larger than this.
    static constexpr std::size_t kSendPiece = 65536;

    std::string Host;
    int Port = 25;
    std::string UserID;  // the argument of HELO; kept across sends and connections
    MailSecurity Security = MailSecurity::Plain;
    // The submission exchange: the name to log in with, and the name of this computer
    // for EHLO and the Message-ID.
    std::string Login;
    std::string LocalName = machineName();
    TSubType SubType = mtPlain;
    TEncodeType EncodeType = uuMime;
    std::string Charset = "us-ascii";
    bool ClearParams = true;  // a successful send empties the recipients and attachments
    TMailMessage MailMessage;

    // A reply (all of its lines) that takes longer than this, or a send that sees no
    // progress for this long, ends with "10060:Connection timed out"; the reply to the end
    // of the data may take longer, as servers check the message then.
    int StallTimeoutMs = 5 * 60 * 1000;
    int FinalReplyTimeoutMs = 10 * 60 * 1000;

    std::function<void()> OnConnect;
    std::function<void(bool& handled)> OnAuthenticationFailed;
    std::function<void(const std::string& filename)> OnEncodeStart;
    std::function<void(const std::string& filename)> OnEncodeEnd;
    std::function<void(const std::string& filename)> OnAttachmentNotFound;
    // hiType: 1 = no sender address, 2 = no recipient.
    std::function<void(bool& handled, int hiType)> OnHeaderIncomplete;
    std::function<void()> OnSendStart;
    std::function<void(const std::string& recipient)> OnRecipientNotFound;
    std::function<void()> OnFailure;
    std::function<void()> OnSuccess;
    // Asked for the password of Login at Host when the server wants a login and none is
    // kept for them; false when the user gave none. The password is kept in memory only,
    // for the life of this client, and forgotten when the server refuses it.
    std::function<bool(std::string& password)> OnPassword;

    // Connects to Host and introduces the client: HELO and UserID in the classic exchange;
    // EHLO, encryption and a login in the submission exchange.
    void Connect();
    // Assembles MailMessage and sends it; returns at once while another call is busy.
    void SendMail();
    // Says QUIT and closes the connection in any case.
    void Disconnect();
    // Empties the recipient lists and the attachments.
    void ClearParameters();
    bool connected() const { return socket_.connected(); }
    // Ends the wait in progress with an error; the caller then disconnects.
    void Abort() { socket_.cancel(); }

    // The step the last Connect or SendMail reached, so a failure can say what to do.
    SmtpStage stage() const { return stage_; }
    // The server's reply to the HELO that ended the last Connect; "" when none did.
    const std::string& refusedHello() const { return refusedHello_; }

    // The connection's settings: pump and resolver.
    TSocketClient& socket() { return socket_; }

    // The message body for the current MailMessage: text lines and, when there are
    // attachments, the parts with their base64 contents. Fires the encoding events.
    std::string assembleBody(const std::string& boundary);

private:
    void sendLine(std::string_view line);
    // Sends line with CR LF and reads the whole reply; the code of the reply.
    long long command(std::string_view line);
    void quit(int timeoutMs);
    // Reads a whole reply within limitMs (0: no limit); its code. A hang-up before the
    // first line is code 0 when hangUpAnswers, else an error.
    long long readReply(int limitMs, bool hangUpAnswers = false);
    void closeConnection();
    void introduce();
    void introduceForSubmission();
    Capabilities ehlo();
    void logIn(const Capabilities& caps);
    std::string passwordKey() const;
    std::vector<std::string> headerLines(const std::string& boundary) const;
    void checkComplete();
    void checkAddresses() const;
    void sendBody(std::string_view body);
    void appendAttachment(std::string& body, const std::string& boundary, const std::string& path);
    [[noreturn]] void failWithReply() const;

    TSocketClient socket_;
    bool busy_ = false;
    SmtpStage stage_ = SmtpStage::Connecting;
    std::string reply_;                             // the last line of the last reply
    std::vector<std::string> replyLines_;           // every line of it, without line ends
    std::string refusedHello_;                      // the reply to a refused HELO
    std::map<std::string, std::string> passwords_;  // by server, port and login
};

}  // namespace rostrix
