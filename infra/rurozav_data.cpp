#include "infra/rurozav_data.h"

bool RurozavData::GetBool() const
{
    return false;
}

void RurozavData::SetBool(bool) {}

int RurozavData::GetInt() const
{
    return 0;
}

void RurozavData::SetInt(int) {}

double RurozavData::GetDouble() const
{
    return 0.0;
}

void RurozavData::SetDouble(double) {}

std::string RurozavData::GetNarrowString() const
{
    const std::wstring wide = GetString();
    std::string narrow(wide.size(), '\0');
    for (size_t i = 0; i < wide.size(); ++i)
        narrow[i] = static_cast<char>(wide[i] & 0xFF);
    return narrow;
}

void RurozavData::SetNarrowString(const std::string&) {}

std::wstring RurozavData::GetString() const
{
    return {};
}

void RurozavData::SetString(const std::wstring&) {}

bool RurozavData::IsValid() const
{
    return true;
}

std::string RurozavData::TypeName() const
{
    return "data";
}

std::wstring RurozavDataGuid::GetString() const
{
    return value_;
}

void RurozavDataGuid::SetString(const std::wstring& value)
{
    value_ = value;
}

std::string RurozavDataGuid::TypeName() const
{
    return "guid";
}

bool RurozavDataGuid::IsEmpty() const
{
    return value_.empty();
}

void RurozavDataGuid::Clear()
{
    value_.clear();
}
