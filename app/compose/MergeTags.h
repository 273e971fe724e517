#pragma once
// The four merge tags ("<<FIRSTNAME>>", "<<SURNAME>>", "<<TITLE>>",
// "<<CUSTOM>>", strings 1029 to 1032) and the check that decides whether a
// message must be sent per destination with merged contact fields.

#include <string>
#include <string_view>

namespace shell {
class StringTable;
}

namespace compose {

// The insert buttons "<< Name", "<< Title", "<< Surname", "<< Custom".
enum class MergeTag { Name, Title, Surname, Custom };

// The tag text an insert button puts into the editor.
std::string MergeTagText(const shell::StringTable &strings, MergeTag tag);

// True when the text holds one of the four tags (exact, case-sensitive).
bool HasMergeTag(const shell::StringTable &strings, std::string_view text);

// True when a message of this type and text goes out per destination with
// merged fields: every type but 0 (Text), or a text with a merge tag. Plain
// numbers (Outlook entries) cannot be merged, hence the page's question.
bool NeedsMergeWarning(const shell::StringTable &strings, int type, std::string_view text);

} // namespace compose
