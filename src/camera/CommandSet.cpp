#include "camera/CommandSet.h"

#include "camera/Conversions.h"
#include "camera/Link.h"

namespace {

// A converted get writes the user value of whatever count it ends up with;
// the count starts at 0, so a failed query gives the value of count 0.  A
// query the busy link refused never reached the camera and writes nothing.
int GetConverted(const char* query, CommRule rule, float* value)
{
    int count = 0;
    const int status = Comm_GetIntVal(query, &count);
    if (status != COMM_BUSY) *value = static_cast<float>(Comm_CountToUser(rule, count));
    return status;
}

int SetConverted(const char* prefix, CommRule rule, float value)
{
    return Comm_SetIntVal(prefix, Comm_UserToCount(rule, value));
}

}  // namespace

// The named functions, made from the command table: each one is a single call
// into the link or the conversion rules.
#define COMM_DEFINE_Own_Int_QS(NAME, M, RULE)       \
    int Comm_Get##NAME(int* value)                  \
    {                                               \
        return Comm_GetIntVal(":" #M "?\r", value); \
    }                                               \
    int Comm_Set##NAME(int value)                   \
    {                                               \
        return Comm_SetIntVal(":" #M "=", value);   \
    }
#define COMM_DEFINE_Own_Int_Q(NAME, M, RULE)        \
    int Comm_Get##NAME(int* value)                  \
    {                                               \
        return Comm_GetIntVal(":" #M "?\r", value); \
    }
#define COMM_DEFINE_Own_Int_S(NAME, M, RULE)      \
    int Comm_Set##NAME(int value)                 \
    {                                             \
        return Comm_SetIntVal(":" #M "=", value); \
    }
#define COMM_DEFINE_Own_Real_QS(NAME, M, RULE)                    \
    int Comm_Get##NAME(float* value)                              \
    {                                                             \
        return GetConverted(":" #M "?\r", CommRule::RULE, value); \
    }                                                             \
    int Comm_Set##NAME(float value)                               \
    {                                                             \
        return SetConverted(":" #M "=", CommRule::RULE, value);   \
    }
#define COMM_DEFINE_Part_Int_QS(NAME, M, RULE)
#define COMM_DEFINE_Part_Real_QS(NAME, M, RULE)
#define COMM_DEFINE(NAME, M, KIND, ACCESS, RULE, GEN) COMM_DEFINE_##GEN##_##KIND##_##ACCESS(NAME, M, RULE)
COMM_COMMAND_TABLE(COMM_DEFINE)
#undef COMM_DEFINE

int Comm_SaveDefaults()
{
    return Comm_SendFixed(":WFAC=0");
}
