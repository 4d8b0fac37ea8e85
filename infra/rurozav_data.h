#pragma once
// A small typed-value pair shared with the sibling applications of the
// family. The lamp dialog keeps a setting's text in a RurozavDataGuid and
// takes it back as narrow text for the lamp box. The order of the virtual
// operations below is the interface: keep it, and add new ones at the end.
#include <string>

class RurozavData {
public:
    virtual ~RurozavData() = default;

    // The base value holds nothing: every getter answers "no value" and
    // every setter is ignored.
    virtual bool GetBool() const;
    virtual void SetBool(bool value);
    virtual int GetInt() const;
    virtual void SetInt(int value);
    virtual double GetDouble() const;
    virtual void SetDouble(double value);
    // The text of GetString with each UTF-16 code unit cut to its low byte:
    // no code-page conversion, so ASCII settings arrive unchanged and the
    // length in characters is kept whatever the text holds.
    virtual std::string GetNarrowString() const;
    virtual void SetNarrowString(const std::string& value);
    virtual std::wstring GetString() const;
    virtual void SetString(const std::wstring& value);
    // Every value of this family is usable as it is.
    virtual bool IsValid() const;
    virtual std::string TypeName() const;
};

class RurozavDataGuid : public RurozavData {
public:
    std::wstring GetString() const override;
    void SetString(const std::wstring& value) override;
    std::string TypeName() const override;
    virtual bool IsEmpty() const;
    virtual void Clear();

private:
    std::wstring value_;
};
