#!/usr/bin/env python3
"""Checks a document of vintaler-cli --json against the published schema
(docs/vintaler-figures.schema.json) with python3-jsonschema, an independent
reader of both. Prints {"errors": [...]}: where each departure is and what it
is; an empty list for a valid document."""
import json
import os
import sys

import jsonschema

schema_path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs",
                           "vintaler-figures.schema.json")
document_path = sys.argv[1]
with open(schema_path, encoding="utf-8") as f:
    schema = json.load(f)
with open(document_path, encoding="utf-8") as f:
    document = json.load(f)
validator_class = jsonschema.validators.validator_for(schema)
validator_class.check_schema(schema)
errors = ["/".join(str(p) for p in e.absolute_path) + ": " + e.message
          for e in validator_class(schema).iter_errors(document)]
print(json.dumps({"errors": errors}))
