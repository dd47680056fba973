// Ids of the test data store's texts.
#pragma once

#define IDS_STACK_EFFECT_EXCEEDED       17013
