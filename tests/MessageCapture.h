#pragma once

// Qt
#include <QString>
#include <QtGlobal>

// std
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tonarika::test {

// Keeps every message Qt's logging prints while it lives, with its category, instead of
// printing it; one capture at a time, messages from any thread.
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

    std::vector<Message> messages() const
    {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }

    // How many messages of `category` say `words`.
    int count(const std::string& category, const std::string& words) const
    {
        std::lock_guard lock(m_mutex);
        int found = 0;
        for (const Message& message : m_messages)
            found += message.category == category && message.text.find(words) != std::string::npos;
        return found;
    }
    // Whether a message of `category` says `words`.
    bool has(const std::string& category, const std::string& words) const { return count(category, words) > 0; }
    // Waits until one does, from another thread, a minute at most; whether one came.
    bool waitFor(const std::string& category, const std::string& words) const
    {
        for (int i = 0; i < 6000 && !has(category, words); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return has(category, words);
    }

private:
    static MessageCapture*& current()
    {
        static MessageCapture* capture = nullptr;
        return capture;
    }
    static void handle(QtMsgType, const QMessageLogContext& context, const QString& text)
    {
        if (MessageCapture* capture = current()) {
            std::lock_guard lock(capture->m_mutex);
            capture->m_messages.push_back({context.category ? context.category : "", text.toStdString()});
        }
    }

    QtMessageHandler m_before = nullptr;
    mutable std::mutex m_mutex;
    std::vector<Message> m_messages;
};

}  // namespace tonarika::test
