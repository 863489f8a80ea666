#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "net/SocketClient.h"
#include "package/MailMessage.h"

namespace rostrix {

// Sends one message at a time through an outgoing mail server: plain SMTP (no extensions,
// no login, no encryption), the message with MIME headers and base64 attachments. Runs on
// the user-interface thread; every wait calls the socket's pump, so windows stay live and
// the events below fire while a call is in progress. Failures are Errors with their text.
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
    TSubType SubType = mtPlain;
    TEncodeType EncodeType = uuMime;
    std::string Charset = "us-ascii";
    bool ClearParams = true;  // a successful send empties the recipients and attachments
    TMailMessage MailMessage;

    // A wait that sees no progress for this long ends with "10060:Connection timed out";
    // the reply to the end of the data may take longer, as servers check the message then.
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

    // Connects to Host and introduces the client with HELO and UserID.
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

    // The connection's settings: pump and resolver.
    TSocketClient& socket() { return socket_; }

    // The message body for the current MailMessage: text lines and, when there are
    // attachments, the parts with their base64 contents. Fires the encoding events.
    std::string assembleBody(const std::string& boundary);

private:
    void sendLine(std::string_view line);
    // Sends line with CR LF and reads the reply; the code of the reply. With continued,
    // continuation lines are read past to the last line.
    long long command(std::string_view line, bool continued = false);
    void quit(int timeoutMs);
    long long readReply(bool continued);
    void introduce();
    void checkComplete();
    void checkAddresses() const;
    void sendBody(std::string_view body);
    void appendAttachment(std::string& body, const std::string& boundary, const std::string& path);
    [[noreturn]] void failWithReply() const;

    TSocketClient socket_;
    bool busy_ = false;
    std::string reply_;
};

}  // namespace rostrix
