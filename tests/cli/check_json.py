#!/usr/bin/env python3
"""Checks a document of vintaler-cli --json against docs/vintaler-figures.schema.json
with python3-jsonschema. Prints {"errors": [...]}, empty for a valid document."""
import json
import os
import sys

import jsonschema

schema_path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../docs/vintaler-figures.schema.json")
document_path = sys.argv[1]
schema, document = (json.load(open(p, encoding="utf-8")) for p in (schema_path, document_path))
validator_class = jsonschema.validators.validator_for(schema)
validator_class.check_schema(schema)
errors = ["/".join(str(p) for p in e.absolute_path) + ": " + e.message
          for e in validator_class(schema).iter_errors(document)]
print(json.dumps({"errors": errors}))
