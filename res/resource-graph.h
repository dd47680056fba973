// Ids of the leakage graph's texts.
#pragma once

#define IDS_GRAPH_FLOW_TITLE            4002
