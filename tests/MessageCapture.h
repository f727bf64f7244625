#pragma once

// Qt
#include <QString>
#include <QtGlobal>

// std
#include <string>
#include <vector>

namespace tonarika::test {

// Keeps every message Qt's logging prints while it lives, with its category, instead of
// printing it; one at a time.
class MessageCapture {
public:
    struct Message {
        std::string category;
        std::string text;
    };

    MessageCapture()
    {
        current() = this;
        m_before = qInstallMessageHandler(&MessageCapture::handle);
    }
    ~MessageCapture()
    {
        qInstallMessageHandler(m_before);
        current() = nullptr;
    }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const std::vector<Message>& messages() const { return m_messages; }

    // Whether a message of `category` says `words`.
    bool has(const std::string& category, const std::string& words) const
    {
        for (const Message& message : m_messages) {
            if (message.category == category && message.text.find(words) != std::string::npos)
                return true;
        }
        return false;
    }

private:
    static MessageCapture*& current()
    {
        static MessageCapture* capture = nullptr;
        return capture;
    }
    static void handle(QtMsgType, const QMessageLogContext& context, const QString& text)
    {
        if (MessageCapture* capture = current())
            capture->m_messages.push_back({context.category ? context.category : "", text.toStdString()});
    }

    QtMessageHandler m_before = nullptr;
    std::vector<Message> m_messages;
};

}  // namespace tonarika::test
