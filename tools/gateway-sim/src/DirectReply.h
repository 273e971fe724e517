#pragma once
// Writes a reply straight to the connection of a request that the HTTP
// library would leave unanswered: an HTTP/1.0 client that shuts down its
// sending side after the request (as the library's secure path does, over
// TLS, with the absolute URL in the request line) looks to the library like
// a closed connection. The reply is written, the sending side closed, and
// the library's own later write then fails harmlessly.

#include <httplib.h>

#include <string>

namespace gatewaysim {

class DirectReply {
public:
  // True for HTTP/1.0 requests without keep-alive that came over TLS or
  // carried an absolute URL; those may have half-closed their connection.
  static bool Needed(const httplib::Request &req);
  // False when the connection could not be found or written; the caller
  // then leaves the reply to the library.
  static bool Send(const httplib::Request &req, int status, const std::string &contentType,
                   const std::string &body);
  static std::string Format(int status, const std::string &contentType, const std::string &body);
};

} // namespace gatewaysim
