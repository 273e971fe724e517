#include "shell/StringTableData.h"

namespace shell {

const StringTableEntry kBuiltInStrings[] = {
    // Window titles and login
    {1024, "Dovetext"},
    {1025, "SMS Client"},
    {1027, "Failed to communicate with the the server.  Please make sure that you are on-line!"},
    {1028, "Login failed ..."},
    {1058, "Unknown username or password!"},
    // Merge tags and the SMS page
    {1029, "<<FIRSTNAME>>"},
    {1030, "<<SURNAME>>"},
    {1031, "<<TITLE>>"},
    {1032, "<<CUSTOM>>"},
    {1033, "%1!02d!/%2!02d!/%3!d! %4!02d!:%5!02d!"},
    // Address book dialogs
    {1088, "ADD NEW MEMBER"},
    {1089, "EDIT MEMBER DETAILS"},
    {1104, "ADD NEW GROUP"},
    {1105, "EDIT GROUP NAME"},
    // Mail client registration
    {1120, "Unable to set up the mail client for the address book. Your mail client address "
           "book option might not work correctly"},
    {1121, "Mail client setup failed!"},
    // Proxy and outbox tab
    {1136, "Unable to configure the proxy settings.  Please check your settings or contact "
           "support via the address below."},
    {1137, "Proxy setup error ..."},
    {1138, "Outbox (>999)"},
    {1139, "Outbox (%d)"},
    {1140, "Failed to communicate with the proxy server.  Check the proxy name and the port.  You "
           "might also still be offline."},
    {1141, "Failed to communicate via the proxy server.  You might have to supply a proxy username "
           "and password."},
    // Addresses page
    {1168, "Name"},
    {1169, "Surname"},
    {1170, "Mobile No."},
    {1171, "Create a group before you add contacts into it."},
    {1172, "Create a group before you upload contacts into it."},
    {1173, "Need a group"},
    {1174, "There is nothing to export"},
    {1175, "Export failed"},
    {1176, "Confirm Group Delete"},
    {1177, "Are you sure you want to delete the %1!s! group and all its %2!d! members?"},
    {1178, "Confirm Contact Delete"},
    {1179, "Are you sure you want to delete %d contact(s)?"},
    // Progress texts
    {1184, "Communicating to server ..."},
    {1185, "Performing escalation"},
    {1186, "%1!s!: %2!d! of %3!d!"},
    {1187, "Sending SMS"},
    {1188, "%1!s!:%2!d! SMS to go. Expanding(%3!d!)"},
    {1189, "Querying status"},
    {1190, "%1!s!: %2!d! SMS still to check!"},
    // Auto update
    {1200, "For the latest version of the software please visit our support site."},
    {1201, "Update ..."},
    {1202, "Auto update failed ..."},
    {1203, "Failed to run the update automatically.  Please click on the link below or run the "
           "update by hand."},
    {1204, "The download of the update failed, please visit the following web site to download "
           "the latest version."},
    {1205, "The auto update failed, please visit the following web site to download the latest "
           "version."},
    {1206, "You have the latest version of the software."},
    {1207, "Auto update ok ..."},
    // Status names
    {1216, "Pending"},
    {1217, "Queued"},
    {1218, "Failed"},
    {1219, "Sent"},
    {1220, "Scheduled"},
    {1221, "Editing"},
    {1222, "Delay Scheduled"},
    {1223, "Scheduled on Server"},
    {1224, "Delivered to a SMS gateway"},
    {1225, "Delivered"},
    {1226, "Processing"},
    {1227, "Unknown"},
    {1228, "Expanded"},
    {1229, "Error with message"},
    {1230, "User cancelled msg delivery"},
    {1231, "Error delivering message"},
    {1232, "Routing error"},
    {1233, "Message expired"},
    // Store texts
    {1248, "All Contacts"},
    {1249, "Time:     %1!s!\r\nStatus:   %2!s!\r\nCharge:   %3!s!\r\nTo:       "},
    {1250, "\r\nMessage:  "},
    {1251, "Binary message"},
    {1252, "\r\nApiMsgID: "},
    // Downloads
    {1264, "Could not open internet session\n"},
    {1265, "Could not open internet file %1!s!\n"},
    {1266, "Could not create file %1!s!\n"},
    {1267, "Could not read file %1!s!\n"},
    {1268, "Could not write to file %1!s!\n"},
    {1269, "Error while downloading file from %1!s! to %2!s!\n"},
    {1270, "Could not delete file %1!s!\tReason: %2!s!\n"},
    {1271, "Could not move file from %1!s! to %2!s!.\tReason: %3!s!\n"},
    // CSV exchange
    {1281, "Outbox.csv"},
    {1282, "CSV Files (*.csv)\n*.csv\nAll Files (*.*)\n*.*\n\n"},
    {1283, "Unable to open '%1!s!' for writing!"},
    {1284, "Unable to export!"},
    {1286, "Failed to export the outbox.  Please try again.\n\nIf the problem persists please "
           "contact support."},
    {1287, "Your outbox was exported!"},
    {1297, "Contacts.csv"},
    {1298, "CSV Files (*.csv)\n*.csv\nAll Files (*.*)\n*.*\n\n"},
    {1299, "Export done"},
    {1300, "All contacts in selected groups have been exported!"},
    {1301, "Unable to open '%1!s!' for writing!"},
    {1302, "Export failed!"},
    // Type names
    {1312, "Text"},
    {1313, "Flash"},
    {1314, "Unicode"},
    {1315, "Nokia Ringtone"},
    {1316, "Nokia Pic Msg"},
    {1317, "Nokia Operator Logo"},
    {1318, "Nokia vCard"},
    {1319, "Nokia vCal"},
    {1320, "Binary"},
    // Contact tree
    {1321, "ADDRESS BOOK"},
    {1322, "MAIL CLIENT"},
    {1323, "RECENT"},
    // Binary content file kinds: default extension, then filter
    {1325, "*.txt"},
    {1326, "Text Files (*.txt)\n*.txt\nAll Files (*.*)\n*.*\n\n"},
    {1327, "*.mid"},
    {1328, "MIDI Files (*.mid)\n*.mid\nAll Files (*.*)\n*.*\n\n"},
    {1329, "*.gif"},
    {1330, "1-bit GIF Files (*.gif)\n*.gif\nAll Files (*.*)\n*.*\n\n"},
    // Composition
    {1331, "Not enough info to send SMS"},
    {1332, "No destination mobile numbers selected"},
    {1333, "Balance: %1!d!.%2!d!%3!s!"},
    {1334, "Send >>"},
    {1335, "Update >>"},
    {1336, "Address Book search failed ..."},
    {1337, "Failed to query your Address Book."},
    {1339, "Import failed"},
    {1340, "Failed to import and convert the data into hex.\nFilename: %1!s!\nError:"},
    {1341, "The filename is to short."},
    {1342, "Failed to determine the file length.  Either the file does not exist or it can't be "
           "accessed!"},
    {1343, "Failed to open the file."},
    {1344, "Failed to read the contents of the file."},
    {1345, "Unknown error!"},
    {1346, "Some of the selected mail client contacts can not be merged into this message: their "
           "name fields are not available.\nDo you want to send the message anyway?"},
    {1347, "SMS field merge problems..."},
    {1348, "Unicode message count information ..."},
    {1349, "Please note that a Unicode message can contain only 70 characters for a single "
           "message.\nFor a multi-part message only 67 characters per part are available."},
    {1350, "Force Sender ID?"},
    {1351, "You have chosen a custom Sender ID but have chosen not to force the Sender ID.\nThe "
           "network may replace your Sender ID on some routes.\n\nDo you want to force the "
           "Sender ID for this message?"},
    // Start-up
    {1360, "SMS Client failed to start..."},
    {1361, "Unable to configure internal Database.  Aborting!"},
    {1362, "The SMS communication layer could not be initialized.\r\nPlease reinstall the "
           "application.\r\nIf the problem persists please contact Technical Support."},
    {1363, "Unexpected error ..."},
    {1364, "An unexpected error has terminated the application. Please contact support via the "
           "URL below."},
    // Proxy dialog
    {1376, "Directly connect to the Internet"},
    {1377, "Connect to the SMS server directly, without a proxy."},
    {1378, "Proxy config from registry"},
    {1379, "Use the proxy configuration of the desktop."},
    {1380, "Proxy config from registry, no scripts"},
    {1381, "Use the proxy configuration of the desktop, without automatic configuration "
           "scripts."},
    {1382, "Use proxy list"},
    {1383, "Use the proxy server given below."},
    {1384, "Proxy configuration ..."},
    {1385, "The proxy settings are correct.  The proxy was able to communicate with the proxy "
           "server and with the SMS server."},
    // Options page
    {1392, "Not online"},
    {1393, "You need to be online to redeem a voucher!"},
    {1394, "Invalid voucher!"},
    {1395, "Your voucher number is not long enough.  Please re-enter the number"},
    {1396, "The voucher with the entered number has already been redeemed."},
    {1397, "Unable to go online!"},
    {1398, "Balance: %1!d!.%2!d!%3!s!"},
    {1399, "Forcing the Sender ID asks the gateway to use only routes that keep your Sender ID.  "
           "Messages may cost more or take longer on such routes."},
    {1400, "Forcing Sender ID information ..."},
    // Outbox view
    {1408, "Sent"},
    {1409, "Recipient"},
    {1410, "Status"},
    {1411, "Message"},
    {1412, "Query failed"},
    {1413, "Unable to go online and query the status of the highlighted outbox items!"},
    {1414, "Send Now failed"},
    {1415, "Unable to go online and send the highlighted outbox items!"},
    {1416, "Unable to go online and send the outbox items!"},
    {1417, "Confirm Message Delete"},
    {1418, "Are you sure you want to delete %1!d! message(s)?"},
    {1421, "Export failed"},
    {1422, "There is nothing to export"},
    {1423, "Charge"},
    {1424, "Are you sure you want to delete %1!d! message(s)?\n\nNOTE: One or more messages are "
           "already scheduled to the server and can NOT be delete\nwithin 10 minutes of the "
           "scheduled delivery time. If there is sufficient time before your "
           "scheduled\ndelivery date the messages will be deleted from the server and from the "
           "Outbox.\n\nPlease contact our support team if you require any further information "
           "on the status of these messages."},
    // CSV import
    {1440, "Comma"},
    {1441, "Semicolon"},
    {1442, "Tab"},
    {1444, "All Files (*.*)\n*.*\n\n"},
    {1445, "Importing ..."},
    {1446, "Finished importing new contacts!\n\n(%1!d!) items where inserted into the "
           "database\nand (%2!d!) item were discarded."},
    // Schedule dialog
    {1456, "Month"},
    {1457, "January"},
    {1458, "February"},
    {1459, "March"},
    {1460, "April"},
    {1461, "May"},
    {1462, "June"},
    {1463, "July"},
    {1464, "August"},
    {1465, "September"},
    {1466, "October"},
    {1467, "November"},
    {1468, "December"},
    {1472, "Monday"},
    {1473, "Tuesday"},
    {1474, "Wednesday"},
    {1475, "Thursday"},
    {1476, "Friday"},
    {1477, "Saturday"},
    {1478, "Sunday"},
    {1479, "1st"},
    {1480, "2nd"},
    {1481, "3rd"},
    {1482, "4th"},
    // Version dialog
    {1488, "Version: %1!d!.%2!d!.%3!d!.%4!d!"},
    {1489, "Comms: %1!s!"},
    // Address-book sources
    {1504, "Can not access Address Book"},
    {1505, "Failed to open the mail client's address book. Make sure that you have one defined!"},
    {1506, "Failed to open your personal vCards. Make sure that you have some!"},
    // Status descriptions
    {1520, "The message is waiting to be sent to the distribution server."},
    {1521, "SMS is ready to be sent to the server."},
    {1522, "The message could not be delivered."},
    {1523, "Message has been sent to the server."},
    {1524, "The message is scheduled to be sent at a later time."},
    {1525, "You are busy editing this message."},
    {1526, "The message will be queued on the server X days before it is to be delivery to the "
           "mobile."},
    {1527, "The message has been queud on the server, and will be sent when its delivery time "
           "has arrived."},
    {1528, "The message has left the server and is in the mobile network."},
    {1529, "The message has been delivered to the mobile device."},
    {1530, "Currently worked on message"},
    {1531, "The status of the message is not known yet."},
    {1532, "This multi-destination messgage has been processed into its individual parts."},
    {1533, "Failed SMS: There was an error with the SMS contents."},
    {1534, "Failed SMS: You cancelled the SMS before it was delivered."},
    {1535, "Failed SMS: Unable to deliver the SMS."},
    {1536, "Failed SMS: Unable to route the SMS, maybe the number is incorrect."},
    {1537, "Failed SMS: The SMS has expired before it could be delivered."},
    // Worker failures
    {1584, "An unforseen error has occured.  Please retry the operation."},
    {1585, "Could not delete %1!d! messages from the server.\nIt is possible that they are in the "
           "process of being sent.\nA status request of these messages has been scheduled."},
    // Sending stopped for want of credit
    {1592, "No credit left"},
    {1593, "Your account has no credit left, so sending has stopped.\r\n%1!d! message(s) wait in "
           "the outbox and are sent as soon as your balance has grown.\r\n\r\nAdd credit with "
           "Buy Credits or Redeem >> on the Options page. Open the Options page now?"},
};

const std::size_t kBuiltInStringCount = sizeof kBuiltInStrings / sizeof kBuiltInStrings[0];

} // namespace shell
