# The engine's readers of the gateway's replies: the batch reply, ApiMsgID
# lists, and the charge, balance and query replies. Only the readers are
# built into the targets.
set(_engine ${PROJECT_SOURCE_DIR}/app/engine)
dv_add_fuzzer(fuzz_batch_reply
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/batch-reply/FuzzBatchReply.cpp ${_engine}/BatchReplyParser.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/batch-reply/corpus INCLUDES ${PROJECT_SOURCE_DIR}/app)
dv_add_fuzzer(fuzz_apimsgid
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/apimsgid/FuzzApiMsgId.cpp ${_engine}/ApiMsgIdParser.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/apimsgid/corpus INCLUDES ${PROJECT_SOURCE_DIR}/app)
dv_add_fuzzer(fuzz_charge_reply
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/charge-reply/FuzzChargeReply.cpp ${_engine}/ChargeReply.cpp
    ${_engine}/BalanceReply.cpp ${_engine}/QueryReply.cpp
  CORPUS ${CMAKE_CURRENT_LIST_DIR}/charge-reply/corpus INCLUDES ${PROJECT_SOURCE_DIR}/app)
