-- The test database of the ODBC tests: tables with a primary key, a view and a procedure with
-- parameters that returns rows.
CREATE TABLE customers (
  customer_id INTEGER PRIMARY KEY,
  company_name VARCHAR(60) NOT NULL,
  city VARCHAR(30)
);

CREATE TABLE order_1 (
  order_id BIGINT PRIMARY KEY,
  customer_id INTEGER NOT NULL REFERENCES customers (customer_id),
  amount NUMERIC(10, 2)
);

-- Its name matches the pattern "order_1" without being that table.
CREATE TABLE orderx1 (
  id INTEGER PRIMARY KEY,
  note BYTEA
);

INSERT INTO customers VALUES (1, 'Alder Outfitters', 'Uppsala'), (2, 'Brookside Traders', 'Galway'),
  (3, 'Cedar Lane Books', 'Porto');
INSERT INTO order_1 VALUES (5000000001, 1, 12.40), (5000000002, 2, 8.00), (5000000003, 1, 15.75);

CREATE VIEW customer_orders AS
  SELECT o.order_id, c.company_name, o.amount FROM order_1 o JOIN customers c USING (customer_id);

CREATE FUNCTION orders_of_customer(p_customer INTEGER, p_minimum NUMERIC)
  RETURNS TABLE (order_id BIGINT, amount NUMERIC, company VARCHAR)
  LANGUAGE sql AS $$
    SELECT o.order_id, o.amount, c.company_name FROM order_1 o JOIN customers c USING (customer_id)
    WHERE o.customer_id = p_customer AND o.amount >= p_minimum ORDER BY o.order_id
  $$;
