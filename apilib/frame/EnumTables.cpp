#include "frame/EnumTables.h"

#include <array>

namespace parlink::frame {

namespace {

constexpr EnumConstant kErrors[] = {
    {"SMS_ERR_NONE", 0, "No error"},
    {"SMS_ERR_AUTH_FAILED", 1, "Authentication failed"},
    {"SMS_ERR_INV_USER_PASSWD", 2, "Unknown username or password"},
    {"SMS_ERR_SESSION_EXP", 3, "Session ID expired"},
    {"SMS_ERR_ACC_FROZEN", 4, "Account frozen"},
    {"SMS_ERR_MISS_SESSION_ID", 5, "Mission session ID"},
    {"SMS_ERR_TALK_TO_PROXY_FAILED", 95, "Failed to talk to proxy server"},
    {"SMS_ERR_TALK_VIA_PROXY", 96, "Failed to talk via proxy"},
    {"SMS_ERR_BASE_URL_INV_URL", 97, "Base URL:Invalid URL"},
    {"SMS_ERR_BASE_URL_INV_HASH_KEY", 98, "Base URL:Invalid Hash Key"},
    {"SMS_ERR_COMMUNICATION", 99, "Communication error"},
    {"SMS_ERR_INV_PARAMETER", 101, "Invalid or missing parameter"},
    {"SMS_ERR_INV_UDH", 102, "Invalid UDH. (User Data Header)"},
    {"SMS_ERR_UNKNOWN_APIMSGID", 103, "Unknown apiMsgId (API Message ID)"},
    {"SMS_ERR_UNKNOWN_CLIMSGID", 104, "Unknown cliMsgId (Client Message ID)"},
    {"SMS_ERR_INV_DEST_ADDR", 105, "Invalid Destination Address"},
    {"SMS_ERR_INV_SRC_ADDR", 106, "Invalid Source Address"},
    {"SMS_ERR_EMPTY_MESSAGE", 107, "Empty message"},
    {"SMS_ERR_INV_APIID", 108, "Invalid or missing api_id"},
    {"SMS_ERR_MISS_MSG_ID", 109, "Missing message ID"},
    {"SMS_ERR_EMAIL_MSG", 110, "Error with email message"},
    {"SMS_ERR_INVALID_PROTOCOL", 111, "Invalid Protocol"},
    {"SMS_ERR_INVALID_MSG_TYPE", 112, "Invalid msg_type"},
    {"SMS_ERR_MAX_PARTS_EXCEEDED", 113, "Max parts exceeded"},
    {"SMS_ERR_CANNOT_ROUTE_MSG", 114, "Cannot route message"},
    {"SMS_ERR_MSG_EXPIRED", 115, "Message Expired"},
    {"SMS_ERR_THROTTLE_LIMIT_EXCEEDED", 117, "Throttle limit exceeded"},
    {"SMS_ERR_INV_BATCH_ID", 201, "Invalid batch ID"},
    {"SMS_ERR_NO_BATCH_TEMPLATE", 202, "No batch template"},
    {"SMS_ERR_NO_CREDIT_LEFT", 301, "No credit left"},
    {"SMS_ERR_MAX_ALLOWED_CREDIT", 302, "Max allowed credit"},
    {"SMS_ERR_INVALID_TOKEN", 606, "Invalid Token"},
    {"SMS_ERR_EXPIRED_TOKEN", 607, "Expired Token"},
    {"SMS_ERR_INVALID_PARAMETERS", 700, "Invalid Parameters"},
};

constexpr EnumConstant kMsgStatus[] = {
    {"SMS_MSG_UNKNOWN", 1, "Message unknown"},
    {"SMS_MSG_QUEUED", 2, "Message queued"},
    {"SMS_MSG_DELIVERED", 3, "Delivered"},
    {"SMS_MSG_RECEIVED", 4, "Received by recipient"},
    {"SMS_MSG_ERR_WITH_MSG", 5, "Error with message"},
    {"SMS_MSG_CANCELLED", 6, "User cancelled message delivery"},
    {"SMS_MSG_ERR_DELIVERING_MSG", 7, "Error delivering message"},
    {"SMS_MSG_OK", 8, "All OK"},
    {"SMS_MSG_ROUTING_ERROR", 9, "Routing Error"},
    {"SMS_MSG_EXPIRED", 10, "Message Expired"},
    {"SMS_MSG_QUEUED_LATER_DELIV", 11, "Message Queued for later Delivery"},
};

constexpr EnumConstant kMsgType[] = {
    {"SMS_TYPE_TEXT", 0, "TEXT [default]"},
    {"SMS_TYPE_FLASH", 1, "FLASH"},
    {"SMS_TYPE_NOKIA_OLOGO", 3, "Nokia Operator Logo"},
    {"SMS_TYPE_NOKIA_GLOGO", 4, "Nokia Group Logo"},
    {"SMS_TYPE_NOKIA_PICMSG", 5, "Nokia Picture Message"},
    {"SMS_TYPE_NOKIA_RINGTONE", 6, "Nokia Ringtone"},
    {"SMS_TYPE_NOKIA_CLEAN_LOGO", 7, "Nokia Clean Logo"},
    {"SMS_TYPE_NOKIA_VCARD", 8, "Nokia Business Card"},
    {"SMS_TYPE_NOKIA_EVENT_CAL", 9, "Nokia Event Calendar"},
    {"SMS_TYPE_NOKIA_RTTL", 10, "Nokia RTTL Ringtone"},
};

constexpr EnumConstant kConcat[] = {
    {"SMS_CONCAT_NONE", 0, "NO concatenation"},
    {"SMS_CONCAT_1_MSG", 1, "Concat to max 1 message"},
    {"SMS_CONCAT_2_MSG", 2, "Concat to max 2 messages"},
    {"SMS_CONCAT_3_MSG", 3, "Concat to max 3 messages"},
};

constexpr EnumConstant kCallback[] = {
    {"SMS_CALLBACK_NONE", 0, "NO Callback [default]"},
    {"SMS_CALLBACK_SMSC", 1, "Return only SMSC acks"},
    {"SMS_CALLBACK_DELIV", 2, "Return only Delivery acks"},
    {"SMS_CALLBACK_BOTH", 3, "Return SMSC and Delivery acks"},
};

constexpr EnumConstant kCommunication[] = {
    {"SMS_COMMS_HTTP", 0, "Using HTTP [default]"},
    {"SMS_COMMS_SSL", 1, "Using HTTPS (SSL security)"},
};

constexpr EnumConstant kApiOrCliId[] = {
    {"SMS_API_ID", 1, "API ID"},
    {"SMS_CLI_ID", 2, "Client ID"},
};

constexpr EnumConstant kInetConnection[] = {
    {"SMS_INET_DIRECT", 1, "Directly connect to internet"},
    {"SMS_INET_PRECONFIG", 2, "Proxy config from registry"},
    {"SMS_INET_PRECONFIG_NO_RUN", 3, "Proxy config from registry, no scripts"},
    {"SMS_INET_PROXY", 4, "Use proxy list"},
};

constexpr EnumConstant kSendQueue[] = {
    {"SMS_QUEUE_1ST", 1, "1st Queue"},
    {"SMS_QUEUE_2ND", 2, "2nd Queue"},
    {"SMS_QUEUE_3RD", 3, "3rd Queue [default]"},
    {"SMS_QUEUE_DEFAULT", 3, "Default Queue"},
};

constexpr EnumConstant kEscalate[] = {
    {"SMS_ESCALATE_OFF", 0, "Off [default]"},
    {"SMS_ESCALATE_WITHIN_60SECS", 1, "Escalate within 60secs"},
    {"SMS_ESCALATE_WITHIN_30SECS", 2, "Escalate within 30secs"},
};

constexpr EnumConstant kReqFeatures[] = {
    {"SMS_REQ_FEAT_TEXT", 1, "Text [default]"},
    {"SMS_REQ_FEAT_8BIT", 2, "8-bit [default]"},
    {"SMS_REQ_FEAT_UDH", 4, "UDH (Binary)"},
    {"SMS_REQ_FEAT_UCS2", 8, "UCS2 / Unicode"},
    {"SMS_REQ_FEAT_ALPHA", 16, "Alpha Originator"},
    {"SMS_REQ_FEAT_NUMBER", 32, "Numeric Originator"},
    {"SMS_REQ_FEAT_REPLY", 64, "Reply to MT msg with num senderID"},
    {"SMS_REQ_FEAT_FLASH", 512, "Flash Messaging"},
    {"SMS_REQ_FEAT_DELIVACK", 8192, "Delivery Acknowledgements"},
    {"SMS_REQ_FEAT_CONCAT", 16384, "Concatenation"},
    {"SMS_REQ_FEAT_DEFAULT", 3, "Default"},
};

constexpr EnumConstant kOtaType[] = {
    {"OTA_TYPE_SETTINGS", 1, "Settings [default]"},
    {"OTA_TYPE_BOOKMARK", 2, "Bookmark"},
};

constexpr EnumConstant kOtaBearer[] = {
    {"OTA_BEARER_GSM_CSD", 0, "Circuit Switched Data"},
    {"OTA_BEARER_GSM_SMS", 1, "Short Message Service"},
    {"OTA_BEARER_GSM_USSD", 2, "Unstructured Supplementary Services Data"},
    {"OTA_BEARER_IS136_CSD", 3, "Circuit Switched Bearer"},
    {"OTA_BEARER_GPRS", 4, "General Packet Radio Service"},
};

constexpr EnumConstant kOtaPppLogin[] = {
    {"OTA_PPP_LOGIN_NOT_SET", 0, "Not Set"},
    {"OTA_PPP_LOGIN_AUTO", 1, "Automatic"},
    {"OTA_PPP_LOGIN_MANUAL", 2, "Manual"},
};

constexpr EnumConstant kOtaPppAuth[] = {
    {"OTA_PPP_AUTH_NOT_SET", 0, "Not Set"},
    {"OTA_PPP_AUTH_PAP", 1, "Password Authentication Protocol"},
    {"OTA_PPP_AUTH_CHAP", 2, "Challenge Handshake Authentication"},
    {"OTA_PPP_AUTH_MSCHAP", 3, "Microsoft(TM)-CHAP)"},
};

constexpr EnumConstant kOtaProxyType[] = {
    {"OTA_PROXY_TYPE_NOT_SET", 0, "Not Set"},
    {"OTA_PROXY_TYPE_MSISDN", 1, "MSISDN number"},
    {"OTA_PROXY_TYPE_IPV4", 2, "IP Address"},
};

constexpr EnumConstant kOtaProxyLogin[] = {
    {"OTA_PROXY_LOGIN_NOT_SET", 0, "Not Set"},
    {"OTA_PROXY_LOGIN_AUTO", 1, "Automatic"},
    {"OTA_PROXY_LOGIN_MANUAL", 2, "Manual"},
};

constexpr EnumConstant kOtaPort[] = {
    {"OTA_PORT_9200", 0, "9200 [Default] (connection less)"},
    {"OTA_PORT_9201", 1, "9201 (connection oriented)"},
    {"OTA_PORT_9202", 2, "9202 (connection less)"},
    {"OTA_PORT_9203", 3, "9203 (connection oriented)"},
};

constexpr EnumConstant kOtaCsdCallType[] = {
    {"OTA_CSD_CALL_ANALOG", 0, "Analog"},
    {"OTA_CSD_CALL_ISDN", 1, "ISDN"},
};

constexpr EnumConstant kOtaCsdCallSpeed[] = {
    {"OTA_CSD_SPEED_NOT_SET", 0, "Not Set"}, {"OTA_CSD_SPEED_AUTO", 0, "AUTO"},
    {"OTA_CSD_SPEED_9600", 1, "9600"},       {"OTA_CSD_SPEED_14400", 2, "14400"},
    {"OTA_CSD_SPEED_19200", 3, "19200"},     {"OTA_CSD_SPEED_28800", 4, "28800"},
    {"OTA_CSD_SPEED_38400", 5, "38400"},     {"OTA_CSD_SPEED_43200", 6, "43200"},
    {"OTA_CSD_SPEED_57600", 7, "57600"},
};

constexpr std::array kEnumerations = {
    EnumDefinition{"eSMSErrors", "SMS Error constants", kErrors},
    EnumDefinition{"eSMSMsgStatus", "Message Status constants", kMsgStatus},
    EnumDefinition{"eSMSMsgType", "SMS Message Type constants", kMsgType},
    EnumDefinition{"eSMSConcatType", "SMS Concatenation types", kConcat},
    EnumDefinition{"eSMSCallbackType", "SMS Callback types", kCallback},
    EnumDefinition{"eSMSCommunicationType", "SMS Communication Type", kCommunication},
    EnumDefinition{"eSMSAPIorCLI_ID", "SMS Client or API ID", kApiOrCliId},
    EnumDefinition{"eSMSInetConnection", "SMS Internet Connection Selection", kInetConnection},
    EnumDefinition{"eSMSSendQueue", "SMS Send Queue", kSendQueue},
    EnumDefinition{"eSMSEscalate", "SMS Escalate", kEscalate},
    EnumDefinition{"eSMSReqFeatures", "SMS Required Features", kReqFeatures},
    EnumDefinition{"eOTAType", "OTA Type", kOtaType},
    EnumDefinition{"eOTABearer", "OTA Bearer", kOtaBearer},
    EnumDefinition{"eOTAPPPLoginType", "OTA PPP Login Type", kOtaPppLogin},
    EnumDefinition{"eOTAPPPAuthType", "OTA PPP Auth Type", kOtaPppAuth},
    EnumDefinition{"eOTAProxyType", "OTA Proxy Type", kOtaProxyType},
    EnumDefinition{"eOTAProxyLoginType", "OTA Proxy Login Type", kOtaProxyLogin},
    EnumDefinition{"eOTAPort", "OTA Port", kOtaPort},
    EnumDefinition{"eOTACSDCallType", "OTA Circuit Switched Call Type", kOtaCsdCallType},
    EnumDefinition{"eOTACSDCallSpeed", "OTA Circuit Switched Call Speed", kOtaCsdCallSpeed},
};

} // namespace

std::span<const EnumDefinition> Enumerations() {
  return kEnumerations;
}

int EnumerationIndex(std::string_view name) {
  for (size_t i = 0; i < kEnumerations.size(); ++i) {
    if (name == kEnumerations[i].name) return static_cast<int>(i);
  }
  return -1;
}

} // namespace parlink::frame
