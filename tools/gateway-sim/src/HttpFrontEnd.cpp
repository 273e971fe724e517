#include "HttpFrontEnd.h"

#include "DirectReply.h"
#include "RequestTarget.h"
#include "ServerSockets.h"

#include <openssl/ssl.h>
#include <sys/socket.h>

namespace gatewaysim {

const char *HttpFrontEnd::kErrorPage = "<html><head><title>500 Internal Server Error</title></head>"
                                       "<body><h1>Internal Server Error</h1></body></html>";

const char *HttpFrontEnd::kGarbagePage =
    "<html><head><title>Service Unavailable</title></head><body><h1>Service Unavailable</h1>"
    "<p>The gateway is temporarily unable to service your request.</p></body></html>";

void HttpFrontEnd::Attach(httplib::Server &server) {
  auto handler = [this](const httplib::Request &req, httplib::Response &res) { Serve(req, res); };
  server.Get(".*", handler);
  server.Post(".*", handler);
  server.Delete(".*", handler);
}

void HttpFrontEnd::DropConnection(const httplib::Request &req, httplib::Response &res) {
  if (req.ssl) {
    int fd = SSL_get_fd(req.ssl);
    if (fd >= 0) shutdown(fd, SHUT_RDWR);
  } else {
    ServerSockets::Drop(req.local_port, req.remote_addr, req.remote_port);
  }
  res.status = 500;
  res.set_header("Connection", "close");
}

void HttpFrontEnd::Respond(const httplib::Request &req, httplib::Response &res, int status,
                           const std::string &body, const char *contentType) {
  res.status = status;
  if (DirectReply::Needed(req) && DirectReply::Send(req, status, contentType, body)) return;
  res.set_content(body, contentType);
}

void HttpFrontEnd::Serve(const httplib::Request &req, httplib::Response &res) {
  RequestTarget target = RequestTarget::Parse(req.target);
  static const std::string kAdmin = "_admin/";
  if (target.path.compare(0, kAdmin.size(), kAdmin) == 0) {
    AdminReply reply =
        admin_.Handle(req.method, target.path.substr(kAdmin.size()), target.query, req.body);
    res.status = reply.status;
    res.set_content(reply.body, reply.contentType.c_str());
    return;
  }

  counters_.Request(target.path);
  LogEntry entry;
  entry.timeMs = clock_.NowMs();
  entry.method = req.method;
  entry.path = target.path;
  entry.query = target.query;
  entry.body = req.body;

  auto process = [&]() -> GatewayReply {
    if (req.method != "GET" && req.method != "POST") return {405, "Method Not Allowed"};
    FormParams params = FormParams::FromText(target.query);
    params.Parse(req.body);
    return gateway_.Handle(target.path, params);
  };

  FaultDecision decision = faults_.Decide(target.path);
  if (decision.latencyMs > 0) {
    counters_.Fault("latency");
    if (stalls_.Wait(decision.latencyMs) == StallGate::Wake::Stopping) {
      entry.fault = "latency";
      DropConnection(req, res);
      log_.Add(std::move(entry));
      return;
    }
  }

  if (!decision.action) {
    GatewayReply reply = process();
    Respond(req, res, reply.httpStatus, reply.body, "text/plain");
    entry.status = reply.httpStatus;
    entry.reply = std::move(reply.body);
    if (decision.latencyMs > 0) entry.fault = "latency";
    log_.Add(std::move(entry));
    return;
  }

  const FaultSpec &fault = *decision.action;
  entry.fault = FaultKindName(fault.kind);
  counters_.Fault(entry.fault);
  if (fault.afterProcessing) {
    process(); // the gateway acts, the client never learns the outcome
    entry.fault += " after processing";
  }
  switch (fault.kind) {
  case FaultKind::Stall:
    stalls_.Wait(fault.stallMs);
    DropConnection(req, res);
    break;
  case FaultKind::Drop:
    DropConnection(req, res);
    break;
  case FaultKind::Http500:
    Respond(req, res, 500, kErrorPage, "text/html");
    entry.status = 500;
    entry.reply = kErrorPage;
    break;
  case FaultKind::Garbage:
    Respond(req, res, 200, kGarbagePage, "text/html");
    entry.status = 200;
    entry.reply = kGarbagePage;
    break;
  case FaultKind::Error:
  case FaultKind::Latency:
    Respond(req, res, 200, fault.reply, "text/plain");
    entry.status = 200;
    entry.reply = fault.reply;
    break;
  }
  log_.Add(std::move(entry));
}

} // namespace gatewaysim
