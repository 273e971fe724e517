# Parlink's readers of outside input: the gateway's reply grammar and the
# secure path's HTTP response. Only the readers are built into the targets.
set(_apilib ${PROJECT_SOURCE_DIR}/apilib)
dv_add_fuzzer(fuzz_reply_grammar
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/reply-grammar/FuzzReplyGrammar.cpp
    ${_apilib}/src/ReplyGrammar.cpp ${_apilib}/transport/LeadingInteger.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/reply-grammar/corpus
  INCLUDES ${_apilib} ${PROJECT_SOURCE_DIR}/platform/automation/include)
dv_add_fuzzer(fuzz_secure_response
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/secure-response/FuzzSecureResponse.cpp
    ${_apilib}/transport/SecureResponse.cpp ${_apilib}/transport/LeadingInteger.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/secure-response/corpus INCLUDES ${_apilib})
