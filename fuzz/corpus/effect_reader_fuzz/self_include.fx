#include "self.fx"
technique T { pass { } }
