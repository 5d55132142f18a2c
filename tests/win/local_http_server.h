// A small HTTP server on 127.0.0.1 for the tests: canned answers by path, one connection at a
// time on a thread of its own, and the requests as they arrived.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kavlo::testing {

class LocalHttpServer {
public:
    // path -> the whole response, status line and headers included
    explicit LocalHttpServer(std::map<std::string, std::string> answers) : answers_(std::move(answers)) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        int len = sizeof addr;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        listen(listener_, 4);
        thread_ = std::thread([this] { Serve(); });
    }
    ~LocalHttpServer() {
        closesocket(listener_);  // ends accept()
        thread_.join();
        WSACleanup();
    }
    // "127.0.0.1:port", the host part of a URL
    std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> lock(mutex_);
        return requests_;
    }

    static std::string Ok(const std::string& body) {
        return "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
               "\r\nConnection: close\r\n\r\n" + body;
    }

private:
    void Serve() {
        while (true) {
            SOCKET c = accept(listener_, nullptr, nullptr);
            if (c == INVALID_SOCKET) return;
            std::string request;
            char buf[4096];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const int n = recv(c, buf, sizeof buf, 0);
                if (n <= 0) break;
                request.append(buf, static_cast<size_t>(n));
            }
            std::string path;
            if (const size_t sp = request.find(' '); sp != std::string::npos)
                path = request.substr(sp + 1, request.find(' ', sp + 1) - sp - 1);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                requests_.push_back(request);
            }
            const auto it = answers_.find(path);
            const std::string answer = it != answers_.end()
                                           ? it->second
                                           : "HTTP/1.1 404 Not Found\r\nContent-Length: 9\r\nConnection: close\r\n\r\nNot found";
            send(c, answer.data(), static_cast<int>(answer.size()), 0);
            shutdown(c, SD_SEND);
            while (recv(c, buf, sizeof buf, 0) > 0) {
            }
            closesocket(c);
        }
    }

    std::map<std::string, std::string> answers_;
    SOCKET listener_ = INVALID_SOCKET;
    unsigned short port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::string> requests_;
};

}  // namespace kavlo::testing
