// Copyright Quarn. All Rights Reserved.

#include "Engine/NetworkDelegates.h"

FNetDelegates::FReceivedNetworkEncryptionToken FNetDelegates::OnReceivedNetworkEncryptionToken;
FNetDelegates::FReceivedNetworkEncryptionAck FNetDelegates::OnReceivedNetworkEncryptionAck;
FNetDelegates::FReceivedNetworkEncryptionFailure FNetDelegates::OnReceivedNetworkEncryptionFailure;
