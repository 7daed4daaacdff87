// Status codes shared by every camera operation.
#pragma once

/// Result of a camera transaction.
enum CommStatus {
    COMM_OK = 0,            ///< reply accepted
    COMM_TIMEOUT = 1,       ///< no complete reply line within the time limit
    COMM_NAK = 2,           ///< the camera refused the command
    COMM_UNRECOGNIZED = 3,  ///< reply neither acceptance nor refusal, or lacks its mnemonic
    COMM_BUSY = 4,          ///< another transaction is in flight
};
